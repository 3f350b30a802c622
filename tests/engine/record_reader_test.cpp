#include "engine/record_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvan {
namespace {

// The message of the DataFileError that `read` throws, or "" when none.
template <class Read>
std::string FailureOf(Read read) {
  try {
    read();
  } catch (const DataFileError& error) {
    return error.what();
  }
  return "";
}

struct RealForm {
  const char* word;
  Real value;
};

TEST(RecordReader, AcceptsEveryOrdinaryRealForm) {
  const std::vector<RealForm> forms = {
      {"12", 12.0f},         {"12.5", 12.5f},   {"0.0", 0.0f},       {"1.25E+01", 12.5f},
      {"1.25E+0001", 12.5f}, {"1E-5", 1e-5f},   {"-3.5", -3.5f},     {"+2", 2.0f},
      {".5", 0.5f},          {"12.", 12.0f},    {"4.0e+08", 4.0e8f}, {"-1.5E-3", -1.5e-3f},
      {"0.0625", 0.0625f},   {"113.1", 113.1f}, {"-0.0001", -1e-4f}, {"3e2", 300.0f}};
  for (const RealForm& form : forms) {
    RecordReader reader;
    reader.OpenText(std::string(form.word) + "\n");
    reader.BeginRecord("R");
    EXPECT_EQ(reader.ReadReal(), form.value) << form.word;
  }
}

TEST(RecordReader, RejectsWordsThatAreNoReal) {
  for (const char* word : {"abc", "1.2.3", "1e", "1E+", "--1", "+-1", "-", ".", "inf", "nan",
                           "0x10", "1.0D0", "12a", "1e39", "3/", "*"}) {
    RecordReader reader;
    reader.OpenText(std::string("title\n") + word + "\n");
    reader.ReadTitle();
    reader.BeginRecord("8 (PILE)");
    const std::string message = FailureOf([&] { reader.ReadReal(); });
    EXPECT_EQ(message.rfind("RECORD 8 (PILE), LINE 2: ", 0), 0u) << word << ": " << message;
  }
}

TEST(RecordReader, IntegersHaveNoDecimalPointOrExponent) {
  struct IntForm {
    const char* word;
    bool valid;
    Int value;
  };
  const std::vector<IntForm> forms = {
      {"12", true, 12},  {"-7", true, -7},  {"+3", true, 3},           {"0", true, 0},
      {"3.0", false, 0}, {"3.", false, 0},  {"1E2", false, 0},         {"abc", false, 0},
      {"+-3", false, 0}, {"--3", false, 0}, {"99999999999", false, 0}, {"3x", false, 0}};
  for (const IntForm& form : forms) {
    RecordReader reader;
    reader.OpenText(std::string(form.word) + "\n");
    reader.BeginRecord("2 (NINC LSO NUNIT)");
    if (form.valid) {
      EXPECT_EQ(reader.ReadInt(), form.value) << form.word;
    } else {
      const std::string message = FailureOf([&] { reader.ReadInt(); });
      EXPECT_EQ(message.rfind("RECORD 2 (NINC LSO NUNIT), LINE 1: ", 0), 0u)
          << form.word << ": " << message;
    }
  }
}

TEST(RecordReader, ValuesAreSeparatedByBlanksTabsOrCommas) {
  RecordReader reader;
  reader.OpenText("1,2 ,  3\t4 ,\n,5\n");
  reader.BeginRecord("R");
  std::vector<Int> values;
  for (int i = 0; i < 5; ++i) values.push_back(reader.ReadInt());
  EXPECT_EQ(values, (std::vector<Int>{1, 2, 3, 4, 5}));
}

TEST(RecordReader, EmptyValueBetweenCommasIsRejected) {
  for (const char* line : {"1,,2", "1, ,2", "1 ,\t, 2", ",,1", "1 2,,"}) {
    RecordReader reader;
    reader.OpenText(std::string("t\n") + line + "\n");
    reader.ReadTitle();
    reader.BeginRecord("7 (AEPILE XAE PAIRS)");
    const std::string message = FailureOf([&] {
      for (int i = 0; i < 3; ++i) reader.ReadReal();
    });
    EXPECT_EQ(message,
              "RECORD 7 (AEPILE XAE PAIRS), LINE 2: an empty value between two commas is not "
              "accepted")
        << line;
  }
}

TEST(RecordReader, RecordRunsOnOverLinesAndLeftoversAreIgnored) {
  RecordReader reader;
  reader.OpenText("1\n\n2 3\n4 5 6\n7\n");
  reader.BeginRecord("A");
  EXPECT_EQ(reader.ReadInt(), 1);
  EXPECT_EQ(reader.ReadInt(), 2);  // empty line 2 skipped
  EXPECT_EQ(reader.LineNumber(), 3);
  EXPECT_EQ(reader.ReadInt(), 3);
  EXPECT_EQ(reader.ReadInt(), 4);
  reader.BeginRecord("B");  // 5 and 6 are left over
  EXPECT_EQ(reader.ReadInt(), 7);
  EXPECT_EQ(reader.LineNumber(), 5);
}

TEST(RecordReader, WindowsLineEndsAreAccepted) {
  RecordReader reader;
  reader.OpenText("Title\r\n1 2\r\n3\r\n");
  EXPECT_EQ(reader.ReadTitle(), "Title" + std::string(67, ' '));
  reader.BeginRecord("A");
  EXPECT_EQ(reader.ReadInt(), 1);
  reader.BeginRecord("B");
  EXPECT_EQ(reader.ReadInt(), 3);
}

TEST(RecordReader, EmptyRecordStillUsesUpOneLine) {
  RecordReader reader;
  reader.OpenText("0\n9 9\n5\n");
  reader.BeginRecord("COUNT");
  EXPECT_EQ(reader.ReadInt(), 0);
  reader.BeginRecord("PAIRS");
  reader.EndRecord();
  reader.BeginRecord("NEXT");
  EXPECT_EQ(reader.ReadInt(), 5);
  EXPECT_EQ(reader.LineNumber(), 3);
}

TEST(RecordReader, EndRecordAfterValuesTakesNoFurtherLine) {
  RecordReader reader;
  reader.OpenText("1 2\n3\n");
  reader.BeginRecord("PAIRS");
  reader.ReadReal();
  reader.ReadReal();
  reader.EndRecord();
  reader.BeginRecord("NEXT");
  EXPECT_EQ(reader.ReadInt(), 3);
}

TEST(RecordReader, TitleIsCutOrPaddedTo72Characters) {
  const std::string longTitle = std::string(72, 'x') + "DROPPED";
  RecordReader reader;
  reader.OpenText(longTitle + "\n1\n");
  EXPECT_EQ(reader.ReadTitle(), std::string(72, 'x'));
  reader.BeginRecord("2");
  EXPECT_EQ(reader.ReadInt(), 1);  // the title uses up exactly its line

  reader.OpenText("  Pier 3, north  \n");
  EXPECT_EQ(reader.ReadTitle(), "  Pier 3, north  " + std::string(55, ' '));
}

TEST(RecordReader, FileEndingEarlyNamesRecordAndLastLine) {
  RecordReader reader;
  reader.OpenText("title\n1 2\n");
  reader.ReadTitle();
  reader.BeginRecord("2 (NINC LSO NUNIT)");
  reader.ReadInt();
  reader.ReadInt();
  EXPECT_EQ(FailureOf([&] { reader.ReadInt(); }),
            "RECORD 2 (NINC LSO NUNIT), LINE 2: the file ends before the record is complete");

  RecordReader empty;
  empty.OpenText("");
  EXPECT_EQ(FailureOf([&] { empty.ReadTitle(); }), "RECORD 1 (TITLE), LINE 1: the file is empty");

  RecordReader noPairs;
  noPairs.OpenText("title\n");
  noPairs.ReadTitle();
  noPairs.BeginRecord("5 (PAIRS)");
  EXPECT_NE(FailureOf([&] { noPairs.EndRecord(); }), "");
}

TEST(RecordReader, LongOrUnprintableWordsAreShownShortened) {
  RecordReader reader;
  reader.OpenText(std::string(40, '9') + "q\x01\n");
  reader.BeginRecord("R");
  const std::string message = FailureOf([&] { reader.ReadReal(); });
  EXPECT_NE(message.find("\"" + std::string(24, '9') + "...\""), std::string::npos) << message;
}

}  // namespace
}  // namespace korvan
