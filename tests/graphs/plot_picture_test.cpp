// Graphs saved as pictures: formats read back, sizes, colour depths, the
// Save To Disk dialogs and the pictures that cannot be made.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "components/DataEdit.h"
#include "graph_fixtures.h"
#include "graphs/PlotPicture.h"
#include "graphs/windows/PlotForm.h"
#include "graphs/windows/SaveAttributesDialog.h"
#include "model/Exceptions.h"
#include "support/message_capture.h"
#include "support/qstring_printer.h"

namespace korvan {
namespace {

using testing::WhenModal;

std::unique_ptr<TGraphPlot> Curves() {
  auto graph = testing::MakeGraph(
      4, 11, [](int i, int j) { return TFloatPoint(j, (i + 1) * j * j / 10.0L); });
  graph->SetCaption("Axial Load vs Settlement");
  graph->SetXOnTop(false);
  return graph;
}

QByteArray ReadAll(const QString& file) {
  QFile f(file);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class PlotPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    fArea.resize(1000, 700);
    fArea.show();
    platform::SetChildWindowArea(&fArea);
    fGraph = Curves();
    TPlotForm::ShowGraph(*fGraph);
    QApplication::processEvents();
    fForm = TPlotForm::Of(*fGraph);
  }
  void TearDown() override {
    fGraph.reset();
    platform::SetChildWindowArea(nullptr);
  }
  QString File(const char* name) const { return fDir.filePath(name); }

  QTemporaryDir fDir;
  QMdiArea fArea;
  std::unique_ptr<TGraphPlot> fGraph;
  TPlotForm* fForm = nullptr;
};

TEST_F(PlotPicture, EveryFormatIsWrittenAndReadsBackAtItsSize) {
  const TPictureAttributes sixByFour;  // 6 x 4 in at 72 pixels per inch
  for (const char* name : {"g.bmp", "g.png"}) {
    fForm->SavePicture(File(name), *PictureFormatOf(name), sixByFour);
    QImageReader reader(File(name));
    EXPECT_EQ(reader.format(), QFileInfo(name).suffix().toLatin1());
    EXPECT_EQ(reader.size(), QSize(432, 288)) << name;
    const QImage image = reader.read();
    EXPECT_NEAR(image.dotsPerMeterX(), 2835, 1) << name;  // 72 per inch
  }
  fForm->SavePicture(File("g.svg"), TPictureFormat::Svg, sixByFour);
  QSvgRenderer svg(File("g.svg"));
  EXPECT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, 432, 288));
  fForm->SavePicture(File("g.pdf"), TPictureFormat::Pdf, sixByFour);
  const QByteArray pdf = ReadAll(File("g.pdf"));
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  const QRegularExpression page(R"(/MediaBox \[0 0 432(\.0+)? 288(\.0+)?\])");
  EXPECT_TRUE(page.match(QString::fromLatin1(pdf)).hasMatch());

  // Without a window, for the headless commands.
  TPictureAttributes large{5, 8, 150, TPictureColors::TrueColor};
  WritePicture(*fGraph, File("h.png"), TPictureFormat::Png, large);
  EXPECT_EQ(QImageReader(File("h.png")).size(), QSize(1200, 750));
}

TEST_F(PlotPicture, BitmapsKeepTheColourDepthChosen) {
  auto fitsHighColor = [](const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        for (int v : {c.red(), c.blue()})
          if (((v >> 3) << 3 | v >> 5) != v) return false;
      }
    return true;
  };
  const struct {
    TPictureColors colors;
    int depth;
    int colorCount;
  } cases[] = {{TPictureColors::BlackAndWhite, 1, 2},
               {TPictureColors::Colors16, 8, 16},
               {TPictureColors::Colors256, 8, -1},
               {TPictureColors::HighColor, 32, 0},
               {TPictureColors::TrueColor, 32, 0}};
  for (const auto& c : cases) {
    const TPictureAttributes attributes{3, 4, 60, c.colors};
    fForm->SavePicture(File("c.bmp"), TPictureFormat::Bmp, attributes);
    const QImage image(File("c.bmp"));
    const int kind = static_cast<int>(c.colors);
    EXPECT_EQ(image.depth(), c.depth) << kind;
    if (c.colorCount >= 0) EXPECT_EQ(image.colorCount(), c.colorCount) << kind;
    if (c.colors == TPictureColors::HighColor) EXPECT_TRUE(fitsHighColor(image));
    // The blue of the second line survives in every colour depth but one.
    int blues = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) blues += (image.pixel(x, y) & 0xFFFFFF) == 0x0000FF;
    EXPECT_EQ(blues > 0, c.colors != TPictureColors::BlackAndWhite) << kind;
  }
}

TEST_F(PlotPicture, TheDefaultPictureIs432By288) {
  WhenModal<TSaveAttributesDialog>([](TSaveAttributesDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Save Attributes");
    EXPECT_TRUE(dialog.findChildren<QRadioButton*>().at(1)->isChecked());  // 16 colours
    dialog.accept();
  });
  fForm->SaveToDisk(File("default.bmp"), TPictureFormat::Bmp);
  const QImage image(File("default.bmp"));
  EXPECT_EQ(image.size(), QSize(432, 288));
  EXPECT_EQ(image.colorCount(), 16);
}

TEST_F(PlotPicture, TheFileDialogsFilterChoosesTheFormatOfANameWithoutExtension) {
  const QString target = File("report-figure");
  fGraph->ResultFolder = fDir.path();
  WhenModal<QFileDialog>([target, this](QFileDialog& dialog) {
    // The dialog starts in the results' folder, not the program's.
    EXPECT_EQ(dialog.directory().absolutePath(), QDir(fDir.path()).absolutePath());
    dialog.selectNameFilter("SVG drawing (*.svg)");
    emit dialog.filterSelected("SVG drawing (*.svg)");
    dialog.selectFile(target);
    WhenModal<TSaveAttributesDialog>(
        [](TSaveAttributesDialog& attributes) { attributes.accept(); });
    static_cast<QDialog&>(dialog).accept();
  });
  fForm->PlotSaveClick();
  EXPECT_TRUE(QSvgRenderer(target + ".svg").isValid());
}

TEST_F(PlotPicture, APictureTooLargeForMemoryWritesNothing) {
  QFile existing(File("keep.png"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("earlier picture");
  existing.close();
  testing::TMessageCapture messages;
  WhenModal<TSaveAttributesDialog>([](TSaveAttributesDialog& dialog) {
    dialog.WidthEdit()->SetNumber(400);
    dialog.HeightEdit()->SetNumber(300);
    dialog.PixelsPerInchEdit()->SetNumber(600);
    dialog.accept();
  });
  fForm->SaveToDisk(File("keep.png"), TPictureFormat::Png);
  EXPECT_EQ(messages.Messages(),
            (std::vector<std::string>{"There is not enough memory to complete this task."}));
  EXPECT_EQ(ReadAll(File("keep.png")), "earlier picture");
  EXPECT_EQ(QDir(fDir.path()).entryList(QDir::Files), QStringList{"keep.png"});

  const TPictureAttributes beyondAnySurface{1e9L, 1e9L, 1000, TPictureColors::TrueColor};
  EXPECT_THROW(fForm->SavePicture(File("v.svg"), TPictureFormat::Svg, beyondAnySurface),
               EKorvanError);
  EXPECT_FALSE(QFile::exists(File("v.svg")));
}

TEST_F(PlotPicture, AFolderThatCannotBeWrittenIsReportedAndAttributesAreChecked) {
  QDir(fDir.path()).mkdir("folder.png");
  const struct {
    const char* name;
    const char* reason;
  } refusals[] = {
      {"missing/g.png", "the folder does not exist"},
      {"folder.png", "a folder has that name"},
      {"pile.kv4p", "it has the extension .kv4p of a project's files"},
      {"old.KVD", "it has the extension .kvd of a project's files"},
  };
  for (const auto& refusal : refusals) {
    try {
      fForm->SavePicture(File(refusal.name), TPictureFormat::Png, {});
      ADD_FAILURE() << "no error for " << refusal.name;
    } catch (const EInOutError& error) {
      EXPECT_EQ(error.Message(), QStringLiteral("The picture could not be written to %1: %2")
                                     .arg(File(refusal.name), refusal.reason));
    }
  }
  EXPECT_EQ(QDir(fDir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"folder.png"});
  const TPictureAttributes tooSmall{1.5L, 6, 72, TPictureColors::TrueColor};
  EXPECT_THROW(WritePicture(*fGraph, File("s.png"), TPictureFormat::Png, tooSmall), EKorvanError);
  EXPECT_FALSE(QFile::exists(File("s.png")));
}

// A drawing is an XML file: captions and line names with characters XML
// forbids still give a drawing that reads.
TEST_F(PlotPicture, DrawingsOfControlCharactersAreWellFormed) {
  fGraph->SetCaption(QStringLiteral("Caption\x01 with a control character"));
  fGraph->GetLines(0).SetLineName(QStringLiteral("bell\a"));
  fGraph->GetLines(1).SetLineName(QStringLiteral("<&> \x1b"));
  WritePicture(*fGraph, File("c.svg"), TPictureFormat::Svg, {});
  const QByteArray svg = ReadAll(File("c.svg"));
  QXmlStreamReader xml(svg);
  while (!xml.atEnd()) xml.readNext();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_TRUE(QSvgRenderer(svg).isValid());
  EXPECT_TRUE(QString::fromUtf8(svg).contains(QStringLiteral("bell\uFFFD")));
  EXPECT_TRUE(QString::fromUtf8(svg).contains(QStringLiteral("&lt;&amp;&gt; \uFFFD")));
}

}  // namespace
}  // namespace korvan
