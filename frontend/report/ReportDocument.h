// A calculation report as a sequence of blocks, before it is laid out on
// pages: section headings, paragraphs, notices, tables of text, the pile
// side view and the result graphs. The graphs are those the caller owns.
#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "graphs/PileProfile.h"

namespace korvan {

class TGraphPlot;

struct TReportTable {
  QString Title;
  // Column captions, units in parentheses; a line break starts a second
  // caption line.
  QStringList Columns;
  // A row with fewer cells than columns spans its last cell over the rest.
  std::vector<QStringList> Rows;
  // The first TextColumns columns hold words (left-aligned), the others
  // numbers (right-aligned).
  int TextColumns = 0;
  QString Note;  // written under the table
};

enum class TReportBlockKind { Section, Subsection, Text, Notice, Table, SideView, Graph };

struct TReportBlock {
  explicit TReportBlock(TReportBlockKind kind, QString text = {})
      : Kind(kind), Text(std::move(text)) {}

  TReportBlockKind Kind;
  QString Text;  // section title, paragraph, notice; caption of a drawing
  TReportTable Table;
  TPileProfile Profile;
  TGraphPlot* Graph = nullptr;
};

// The heading of every page.
struct TReportHeading {
  QString Program;  // name and version
  QString Title;    // the project's
  QString FileName;
  QString Organisation;
  QString AnalysisDate;
};

struct TReportDocument {
  TReportHeading Heading;
  std::vector<TReportBlock> Blocks;

  void AddSection(const QString& title) { Blocks.emplace_back(TReportBlockKind::Section, title); }
  void AddSubsection(const QString& title) {
    Blocks.emplace_back(TReportBlockKind::Subsection, title);
  }
  void AddText(const QString& text) { Blocks.emplace_back(TReportBlockKind::Text, text); }
  void AddNotice(const QString& text) { Blocks.emplace_back(TReportBlockKind::Notice, text); }
  void AddTable(TReportTable table) {
    TReportBlock block(TReportBlockKind::Table);
    block.Table = std::move(table);
    Blocks.push_back(std::move(block));
  }
};

}  // namespace korvan
