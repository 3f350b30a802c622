#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "model/NumberFormat.h"
#include "model/WordReader.h"
#include "support/comma_locale.h"
#include "support/qstring_printer.h"
#include "support/resource_limits.h"

namespace korvan {
namespace {

const QString kIncomplete = QStringLiteral("This file either invalid or incomplete.");

// The message of the EInOutError that `read` raises, or "(nothing raised)".
template <typename Read>
QString ErrorOf(Read read) {
  try {
    read();
  } catch (const EInOutError& error) {
    return error.Message();
  }
  return QStringLiteral("(nothing raised)");
}

TEST(WordReader, SplitsAtRunsOfBlanksAndTabs) {
  auto reader = TWordReader::FromText(QStringLiteral("  12   3.5\t7  \n"));
  EXPECT_EQ(reader.GetLineCount(), 1);
  EXPECT_EQ(reader.GetWordCount(0), 3);
  EXPECT_EQ(reader.ReadWord(), "12");
  EXPECT_EQ(reader.ReadWord(), "3.5");
  EXPECT_EQ(reader.ReadWord(), "7");
  EXPECT_EQ(ErrorOf([&] { reader.ReadWord(); }), kIncomplete);
}

TEST(WordReader, NumberReadsSkipBlankLinesButReadLineReturnsThem) {
  auto reader = TWordReader::FromText(QStringLiteral("1\n\n   \n2.5\n\t\n3\n\n"));
  EXPECT_EQ(reader.ReadInteger(), 1);
  EXPECT_EQ(reader.ReadFloat(), 2.5L);
  EXPECT_EQ(reader.Line(), 3);
  EXPECT_EQ(reader.ReadWord(), "3");
  EXPECT_EQ(ErrorOf([&] { reader.ReadWord(); }), kIncomplete);

  auto lines = TWordReader::FromText(QStringLiteral("1\n\n   \n2.5"));
  EXPECT_EQ(lines.ReadLine(), "1");
  EXPECT_EQ(lines.ReadLine(), "");
  EXPECT_EQ(lines.ReadLine(), "   ");
  EXPECT_EQ(lines.ReadLine(), "2.5");
  EXPECT_TRUE(lines.Eof());
  EXPECT_EQ(ErrorOf([&] { lines.ReadLine(); }), kIncomplete);
}

struct FloatCase {
  const char* word;
  long double value;
};

class ReadFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(ReadFloatTest, ConvertsWithAPoint) {
  auto reader = TWordReader::FromText(QString::fromLatin1(GetParam().word));
  EXPECT_EQ(reader.ReadFloat(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Words, ReadFloatTest,
                         ::testing::Values(FloatCase{"1.5e3", 1500.0L}, FloatCase{"-2.25", -2.25L},
                                           FloatCase{"7", 7.0L}, FloatCase{"0.5E-2", 0.005L},
                                           FloatCase{".5", 0.5L}, FloatCase{"+4.", 4.0L}));

struct BadWordCase {
  const char* text;  // the bad word is word 2 of line 2
  const char* ending;
  bool integer;
};

class ReadNumberErrorTest : public ::testing::TestWithParam<BadWordCase> {};

TEST_P(ReadNumberErrorTest, NamesLineAndItemOfTheWord) {
  const auto& c = GetParam();
  auto reader = TWordReader::FromText(QString::fromLatin1(c.text));
  reader.ReadWord();
  reader.ReadWord();
  const QString expected = QStringLiteral("Error on Line 2 Item 2\n") + QLatin1String(c.ending);
  if (c.integer) {
    EXPECT_EQ(ErrorOf([&] { reader.ReadInteger(); }), expected);
  } else {
    EXPECT_EQ(ErrorOf([&] { reader.ReadFloat(); }), expected);
  }
}

const char* const kFloatExpected = "A floating point number was expected but not found.";
const char* const kIntegerExpected = "An integer was expected but not found.";

INSTANTIATE_TEST_SUITE_P(Words, ReadNumberErrorTest,
                         ::testing::Values(BadWordCase{"a\nb 1,5", kFloatExpected, false},
                                           BadWordCase{"a\nb x7", kFloatExpected, false},
                                           BadWordCase{"a\nb 1.2.3", kFloatExpected, false},
                                           BadWordCase{"a\nb 1e", kFloatExpected, false},
                                           BadWordCase{"a\nb 1e99999", kFloatExpected, false},
                                           BadWordCase{"a\nb nan", kFloatExpected, false},
                                           BadWordCase{"a\nb 3.5", kIntegerExpected, true},
                                           BadWordCase{"a\nb 2147483648", kIntegerExpected, true},
                                           BadWordCase{"a\nb -2147483649", kIntegerExpected, true},
                                           BadWordCase{"a\nb three", kIntegerExpected, true}));

TEST(WordReader, ReadIntegerTakesWholeRealsInTheIntegerRange) {
  auto reader = TWordReader::FromText(QStringLiteral("3.0 1e3 -2147483648 2147483647"));
  EXPECT_EQ(reader.ReadInteger(), 3);
  EXPECT_EQ(reader.ReadInteger(), 1000);
  EXPECT_EQ(reader.ReadInteger(), INT32_MIN);
  EXPECT_EQ(reader.ReadInteger(), INT32_MAX);
}

TEST(WordReader, ReadWordsStopsBeforeTheFirstNumber) {
  auto reader = TWordReader::FromText(QStringLiteral("Clay layer 1 2.5"));
  EXPECT_EQ(reader.ReadWords(), "Clay layer");
  EXPECT_EQ(reader.ReadInteger(), 1);
  EXPECT_EQ(reader.ReadFloat(), 2.5L);

  auto across = TWordReader::FromText(QStringLiteral("Stiff\n\n  clay\tlayer \n-4"));
  EXPECT_EQ(across.ReadWords(), "Stiff clay layer");
  EXPECT_EQ(across.ReadInteger(), -4);

  auto none = TWordReader::FromText(QStringLiteral("no numbers here"));
  EXPECT_EQ(ErrorOf([&] { none.ReadWords(); }), kIncomplete);
}

TEST(WordReader, LineOperationsMoveToLineStarts) {
  auto reader = TWordReader::FromText(QStringLiteral("a b c\n d e\nf"));
  EXPECT_TRUE(reader.GetAtStartOfLine());
  EXPECT_EQ(reader.ReadWord(), "a");
  EXPECT_FALSE(reader.GetAtStartOfLine());
  EXPECT_EQ(reader.GetCurrentLineWordCount(), 3);
  EXPECT_EQ(reader.PeekLine(), "a b c");
  EXPECT_TRUE(reader.GetAtStartOfLine());
  EXPECT_EQ(reader.ReadWord(), "a");  // PeekLine went back to the line's start
  EXPECT_EQ(reader.CountWordsLine(), 3);
  EXPECT_EQ(reader.Line(), 1);
  EXPECT_EQ(reader.ReadLine(), " d e");
  EXPECT_EQ(reader.ReadWord(), "f");
  EXPECT_EQ(reader.NumberLines(), 3);
  EXPECT_EQ(reader.GetWordCount(7), 0);
  EXPECT_EQ(reader.GetWordCount(-1), 0);
}

TEST(WordReader, EmptyTextIsOneEmptyLine) {
  auto reader = TWordReader::FromText(QString());
  EXPECT_EQ(reader.GetLineCount(), 1);
  EXPECT_FALSE(reader.Eof());
  EXPECT_EQ(reader.CountWordsLine(), 0);
  EXPECT_TRUE(reader.Eof());
  EXPECT_EQ(ErrorOf([&] { reader.ReadWord(); }), kIncomplete);
  EXPECT_EQ(ErrorOf([&] { reader.PeekLine(); }), kIncomplete);
  EXPECT_EQ(ErrorOf([&] { reader.CountWordsLine(); }), kIncomplete);
}

TEST(WordReader, ReadsFilesWithAnyLineEnds) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString name = folder.filePath(QStringLiteral("pile.kv4d"));
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Title\r\n1 2\r\n\r\n3\r4\n5");
  file.close();

  TWordReader reader(name);
  EXPECT_EQ(reader.GetLineCount(), 6);
  EXPECT_EQ(reader.ReadLine(), "Title");
  for (int expected = 1; expected <= 5; ++expected) EXPECT_EQ(reader.ReadInteger(), expected);
  EXPECT_EQ(ErrorOf([&] { reader.ReadWord(); }),
            QStringLiteral("File \"%1\":\n").arg(name) + kIncomplete);
}

// A reading error names the file it comes from on a line of its own, so that
// a damaged graph settings file is not taken for the project.
TEST(WordReader, ErrorsOfAFileNameTheFileFirst) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  struct Case {
    const char* name;
    const char* text;
    std::function<void(TWordReader&)> read;
    QString message;  // after the line naming the file
  };
  const std::vector<Case> cases = {
      {"pile.kv4g", ":Plot Caption\nLoad\nx 9\n",
       [](TWordReader& r) {
         r.ReadLine();
         r.ReadLine();
         r.ReadInteger();
       },
       QStringLiteral("Error on Line 3 Item 1\nAn integer was expected but not found.")},
      {"pile.kv4d", "Title\n50 0 1\n1 2,5\n",
       [](TWordReader& r) {
         r.ReadLine();
         for (int i = 0; i < 4; ++i) r.ReadInteger();
         r.ReadFloat();
       },
       QStringLiteral("Error on Line 3 Item 2\n") + QLatin1String(kFloatExpected)},
      {"short.kv4d", "Title\n50\n",
       [](TWordReader& r) {
         r.ReadLine();
         r.ReadInteger();
         r.ReadInteger();
       },
       kIncomplete},
      {"layers.kv4d", "Title\n-5\n",
       [](TWordReader& r) {
         r.ReadLine();
         r.RaiseAtWord(QString::number(r.ReadInteger()) + QStringLiteral(" is no count"));
       },
       QStringLiteral("Error on Line 2 Item 1\n-5 is no count")},
  };
  for (const Case& c : cases) {
    const QString name = folder.filePath(QString::fromLatin1(c.name));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.text);
    file.close();
    TWordReader reader(name);
    EXPECT_EQ(ErrorOf([&] { c.read(reader); }),
              QStringLiteral("File \"%1\":\n").arg(name) + c.message)
        << c.name;
  }
  // Text from memory (the clipboard) has no file to name.
  auto text = TWordReader::FromText(QStringLiteral("x"));
  EXPECT_EQ(ErrorOf([&] { text.ReadInteger(); }),
            QStringLiteral("Error on Line 1 Item 1\n") + QLatin1String(kIntegerExpected));
}

TEST(WordReader, KeepsSingleByteTextThatIsNotUtf8) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString name = folder.filePath(QStringLiteral("old.kvd"));
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("Area in\xb2 2.5\n");
  file.close();

  TWordReader reader(name);
  EXPECT_EQ(reader.ReadWords(), QString::fromUtf8("Area in²"));
  EXPECT_EQ(reader.ReadFloat(), 2.5L);
}

TEST(WordReader, MissingFileRaisesAFileError) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString name = folder.filePath(QStringLiteral("missing.kv4d"));
  EXPECT_THROW(TWordReader{name}, EInOutError);
}

TEST(WordReader, ReadFloatIgnoresACommaLocale) {
  testing::TCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma available";
  auto reader = TWordReader::FromText(QStringLiteral("1.5e3 1,5 2"));
  EXPECT_EQ(reader.ReadFloat(), 1500.0L);
  EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));
  EXPECT_EQ(ErrorOf([&] { reader.ReadFloat(); }),
            QStringLiteral("Error on Line 1 Item 2\n") + QLatin1String(kFloatExpected));
  EXPECT_EQ(DecimalSeparator(), QLatin1Char(','));  // untouched after a failure too
  EXPECT_EQ(reader.ReadFloat(), 2.0L);
}

TEST(WordReader, IntegersAndWordEndsFollowTheProgramsNumberFormat) {
  testing::TCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma available";
  auto reader = TWordReader::FromText(QStringLiteral("Layer 2.5 3,0"));
  EXPECT_EQ(reader.ReadWords(), "Layer 2.5");
  EXPECT_EQ(reader.ReadInteger(), 3);
}

// ---------------------------------------------------------------- limits

void ExpectCheap(const testing::TResourceUsage& usage) {
  EXPECT_LT(usage.seconds, testing::kSecondsAllowed);
  if (usage.peakGrowthMB) EXPECT_LT(*usage.peakGrowthMB, testing::kMegabytesAllowed);
}

TEST(WordReader, AFileLargerThanAnyOfTheProgramIsRefusedBeforeItIsRead) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString name = folder.filePath(QStringLiteral("digits.kv4p"));
  ASSERT_TRUE(
      testing::WriteRepeatedFile(name.toStdString(), "", "0123456789", testing::kHugeFileBytes));
  QString message;
  ExpectCheap(testing::MeasureUsage([&] { message = ErrorOf([&] { TWordReader{name}; }); }));
  EXPECT_EQ(message, QStringLiteral("Cannot read file \"%1\". It is larger than 16 MB, more than "
                                    "any file of this program holds.")
                         .arg(name));
}

struct LimitCase {
  const char* name;
  std::string pattern;  // repeated to fill the file
  std::size_t bytes;
  int lines;
  int wordsOfFirstLine;
  QString firstRead;  // what ReadInteger raises, or the integer it reads
};

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

// Memory stays within a few times the file whatever its lines and words.
TEST_P(LimitTest, ReadsWithinSecondsAndAFewTimesItsSize) {
  const LimitCase& c = GetParam();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString name = folder.filePath(QStringLiteral("big.txt"));
  ASSERT_TRUE(testing::WriteRepeatedFile(name.toStdString(), "", c.pattern, c.bytes));
  ExpectCheap(testing::MeasureUsage([&] {
    TWordReader reader(name);
    EXPECT_EQ(reader.GetLineCount(), c.lines);
    EXPECT_EQ(reader.GetWordCount(0), c.wordsOfFirstLine);
    int32_t first = 0;
    const QString error = ErrorOf([&] { first = reader.ReadInteger(); });
    const QString named = QStringLiteral("File \"%1\":\n").arg(name);
    EXPECT_EQ(error == QStringLiteral("(nothing raised)") ? QString::number(first)
                                                          : QString(error).remove(0, named.size()),
              c.firstRead);
    if (error != QStringLiteral("(nothing raised)"))
      EXPECT_TRUE(error.startsWith(named)) << error.toStdString();
  }));
}

const QString kLongIntegerError =
    QStringLiteral("Error on Line 1 Item 1\nAn integer was expected but not found.");

INSTANTIATE_TEST_SUITE_P(
    Files, LimitTest,
    ::testing::Values(LimitCase{"TenMegabytesWithoutABreak", "7", testing::kLongLineBytes, 1, 1,
                                kLongIntegerError},
                      LimitCase{"OnlyLineBreaks", "\n", TWordReader::kMaxFileBytes,
                                16 * 1024 * 1024, 0, kIncomplete},
                      LimitCase{"OneLineOfSingleDigits", "1 ", TWordReader::kMaxFileBytes, 1,
                                8 * 1024 * 1024, QStringLiteral("1")}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvan
