#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "textio/list_reader.hpp"

namespace pileaxial::textio {
namespace {

// Reads `count` integers in one read, starting from `initial` so that unchanged fields show.
std::vector<int> readInts(ListReader& reader, int count, int initial = -1) {
    std::vector<int> values(static_cast<std::size_t>(count), initial);
    reader.begin("R");
    for (int& v : values) reader.item(v, "f");
    reader.finish();
    return values;
}

std::vector<double> readReals(ListReader& reader, int count, double initial = -1.0) {
    std::vector<double> values(static_cast<std::size_t>(count), initial);
    reader.begin("R");
    for (double& v : values) reader.item(v, "f");
    reader.finish();
    return values;
}

// The message of the InputError thrown by `action`; fails the test when none is thrown.
template <class Action>
std::string errorOf(Action action) {
    try {
        action();
    } catch (const InputError& e) {
        return e.what();
    }
    ADD_FAILURE() << "no InputError thrown";
    return {};
}

using Ints = std::vector<int>;
using Reals = std::vector<double>;

TEST(ListReader, ValuesSeparatedByBlanksTabsAndCommas) {
    std::istringstream in("1 2,3 , 4\t5\t,6\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 6), (Ints{1, 2, 3, 4, 5, 6}));
}

TEST(ListReader, ReadContinuesOverSeveralLines) {
    std::istringstream in("1 2\n\n   \n3\n4 5\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 4), (Ints{1, 2, 3, 4}));
    EXPECT_EQ(reader.lineNumber(), 5);
}

TEST(ListReader, LeftoverValuesOfTheLastLineAreIgnored) {
    std::istringstream in("1 2 3 junk\n4\n7 8\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 2), (Ints{1, 2}));
    EXPECT_EQ(reader.readInt("R", "f"), 4);
    EXPECT_EQ(reader.readInt("R", "f"), 7);
}

TEST(ListReader, RepeatCounts) {
    std::istringstream in("3*0 7\n2* 5\n1,2*,3\n2*2.5\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 4), (Ints{0, 0, 0, 7}));
    EXPECT_EQ(readInts(reader, 3, 9), (Ints{9, 9, 5}));
    EXPECT_EQ(readInts(reader, 4, 9), (Ints{1, 9, 9, 3}));
    EXPECT_EQ(readReals(reader, 2), (Reals{2.5, 2.5}));
}

TEST(ListReader, RepeatSpansItemsButNotTheNextRead) {
    std::istringstream in("4*1.5\n2\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readReals(reader, 2), (Reals{1.5, 1.5}));
    EXPECT_EQ(reader.readReal("R", "f"), 2.0);
}

TEST(ListReader, RepeatCountMustBeAPositiveInteger) {
    for (const char* text : {"0*5\n", "x*5\n", "*5\n", "-2*5\n", "1.5*5\n"}) {
        std::istringstream in(text);
        ListReader reader(in, "case.in");
        const std::string message = errorOf([&] { reader.readInt("G1", "1 (unit system)"); });
        EXPECT_NE(message.find("repeat count"), std::string::npos) << text << message;
    }
}

TEST(ListReader, EmptyValuesLeaveFieldsUnchanged) {
    std::istringstream in("1,,3\n1, ,3\n,5\n1,,,4\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 3, 9), (Ints{1, 9, 3}));
    EXPECT_EQ(readInts(reader, 3, 9), (Ints{1, 9, 3}));
    EXPECT_EQ(readInts(reader, 2, 9), (Ints{9, 5}));  // a comma opening the read
    EXPECT_EQ(readInts(reader, 4, 9), (Ints{1, 9, 9, 4}));
}

TEST(ListReader, CommaAtLineEndIsOnlyASeparator) {
    std::istringstream in("1,\n2\n1,\n,2\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 2, 9), (Ints{1, 2}));
    EXPECT_EQ(readInts(reader, 3, 9), (Ints{1, 9, 2}));  // the comma on the next line closes an empty value
}

TEST(ListReader, SlashEndsTheRead) {
    std::istringstream in("1 /\n8\n/ 3\n9 2/5\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 3, -1), (Ints{1, -1, -1}));
    EXPECT_EQ(reader.readInt("R", "f"), 8);
    EXPECT_EQ(readInts(reader, 2, -1), (Ints{-1, -1}));
    EXPECT_EQ(readInts(reader, 4, -1), (Ints{9, 2, -1, -1}));
}

TEST(ListReader, IntegerFieldRejectsRealsAndWords) {
    for (const char* text : {"2.0", "abc", "1e3", "+", "12x", "3000000000"}) {
        std::istringstream in(std::string(text) + "\n");
        ListReader reader(in, "case.in");
        const std::string message = errorOf([&] { reader.readInt("G1", "2 (print interval)"); });
        EXPECT_NE(message.find(std::string("\"") + text + "\""), std::string::npos) << message;
        EXPECT_NE(message.find("record G1, field 2 (print interval)"), std::string::npos) << message;
    }
    std::istringstream in("+12 -7 007 2147483647 -2147483648\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readInts(reader, 5), (Ints{12, -7, 7, 2147483647, -2147483647 - 1}));
}

TEST(ListReader, RealForms) {
    std::istringstream in("1.5D2 1e-3 -2.5q1 1.0+3 .5 5. +3 7 2.5E+01 1-2 1d0\n1e-400 -0.0\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readReals(reader, 11), (Reals{150.0, 0.001, -25.0, 1000.0, 0.5, 5.0, 3.0, 7.0, 25.0, 0.01, 1.0}));
    const Reals tiny = readReals(reader, 2);
    EXPECT_EQ(tiny[0], 0.0);
    EXPECT_TRUE(std::signbit(tiny[1]));
}

TEST(ListReader, RealsAreCorrectlyRounded) {
    std::istringstream in("0.1 47.88 2.2250738585072011e-308\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(readReals(reader, 3), (Reals{0.1, 47.88, 2.2250738585072011e-308}));
}

TEST(ListReader, RealFieldRejectsWordsAndNonFiniteValues) {
    for (const char* text : {"abc", "nan", "inf", "-inf", "1e", "e5", ".", "1.5.2", "1e999", "1.0e+3x", "0x10", "--1"}) {
        std::istringstream in(std::string(text) + "\n");
        ListReader reader(in, "case.in");
        const std::string message = errorOf([&] { reader.readReal("G2", "3 (outside diameter)"); });
        EXPECT_NE(message.find(std::string("\"") + text + "\""), std::string::npos) << message;
    }
}

TEST(ListReader, ErrorMessageNamesFileLineRecordAndField) {
    std::istringstream in("t1\nt2\nt3\n1 1 2 0\n12 0\n0 36 abc 0 29000000\n");
    ListReader reader(in, "case.in");
    for (int k = 0; k < 3; ++k) reader.readText(72, "T");
    int g1[4] = {};
    reader.begin("G1");
    for (int& v : g1) reader.item(v, "g1");
    reader.finish();
    double g2[7] = {};
    reader.begin("G2");
    const std::string message = errorOf([&] {
        for (double& v : g2) reader.item(v, "3 (outside diameter)");  // names are per field in real use
    });
    // G2 began on line 5, which held two values only: the message says where its values came from.
    EXPECT_EQ(message, "case.in, line 6, record G2, field 3 (outside diameter): \"abc\" is not a number "
                       "(record G2 took its values from lines 5-6)");
}

TEST(ListReader, EndOfFileInsideARead) {
    std::istringstream in("1 2 3 4 5 6\n");
    ListReader reader(in, "case.in");
    double v[7] = {};
    reader.begin("S2 of soil point 3");
    for (int k = 0; k < 6; ++k) reader.item(v[k], "x");
    EXPECT_EQ(errorOf([&] { reader.item(v[6], "7 (cone resistance)"); }),
              "case.in, line 1, record S2 of soil point 3, field 7 (cone resistance): the file ends after "
              "this line, before this value");
}

TEST(ListReader, EndOfFileAtTheStartOfARead) {
    std::istringstream in("5\n\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(reader.readInt("V0", "1 (switch)"), 5);
    EXPECT_EQ(errorOf([&] { reader.readInt("L1", "1 (tension loading)"); }),
              "case.in, line 2, record L1, field 1 (tension loading): the file ends after this line, before "
              "this value");
}

TEST(ListReader, QuotedValuesAreCutAndTheirControlBytesEscaped) {
    // A NUL inside a value once cut the message short; a run-together line filled the screen.
    std::istringstream in(std::string("1a\0b\x7f\n", 6) + std::string(60, '7') + "x\n" + std::string(39, 'x') +
                          "\xC3\xA9z\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(errorOf([&] { reader.readReal("R", "f"); }),
              "case.in, line 1, record R, field f: \"1a\\x00b\\x7F\" is not a number");
    EXPECT_EQ(errorOf([&] { reader.readInt("R", "f"); }),
              "case.in, line 2, record R, field f: \"" + std::string(40, '7') + "\"... (61 characters) is not an integer");
    // The cut does not split a two-byte character.
    EXPECT_EQ(errorOf([&] { reader.readInt("R", "f"); }),
              "case.in, line 3, record R, field f: \"" + std::string(39, 'x') + "\"... (42 characters) is not an integer");
}

TEST(ListReader, RefusalNamesTheLineOfTheFieldInThisReadOrTheOneBefore) {
    std::istringstream in("1 2\n3\n4 5\n");
    ListReader reader(in, "case.in");
    int a = 0, b = 0, c = 0;
    reader.begin("S1");
    reader.item(a, "1 (a)");
    reader.item(b, "2 (b)");
    reader.item(c, "3 (c)");
    reader.finish();
    EXPECT_EQ(readInts(reader, 2), (Ints{4, 5}));
    EXPECT_EQ(reader.lineOf("S1", "1 (a)"), 1);
    EXPECT_EQ(reader.lineOf("S1", "3 (c)"), 2);
    EXPECT_EQ(reader.lineOf("R", "f"), 3);
    EXPECT_EQ(errorOf([&] { reader.refuse("S1", "3 (c)", "too small"); }),
              "case.in, line 2, record S1, field 3 (c): too small (record S1 took its values from lines 1-2)");
}

TEST(ListReader, WindowsLineEndings) {
    std::istringstream in("TITLE LINE  \r\n1 2\r\n3,\r\n4\r\n5\r");
    ListReader reader(in, "case.in");
    EXPECT_EQ(reader.readText(72, "T1"), "TITLE LINE  ");
    EXPECT_EQ(readInts(reader, 3), (Ints{1, 2, 3}));
    EXPECT_EQ(reader.readInt("R", "f"), 4);
    EXPECT_EQ(reader.readReal("R", "f"), 5.0);
}

TEST(ListReader, FixedTextRecords) {
    std::istringstream in("A LONG TITLE\nshort\n7 8\nafter\n");
    ListReader reader(in, "case.in");
    EXPECT_EQ(reader.readText(6, "T1"), "A LONG");
    EXPECT_EQ(reader.readText(72, "T2"), "short");
    EXPECT_EQ(reader.readInt("G1", "1"), 7);
    EXPECT_EQ(reader.tryReadText(255), std::optional<std::string>("after"));
    EXPECT_EQ(reader.tryReadText(255), std::nullopt);
    EXPECT_EQ(errorOf([&] { reader.readText(72, "T3"); }),
              "case.in, line 5, record T3: the file ends before this record; it has only 4 lines");
    std::istringstream empty("");
    ListReader nothing(empty, "case.in");
    EXPECT_EQ(errorOf([&] { nothing.readText(72, "T1"); }), "case.in, line 1, record T1: the file is empty");
}

TEST(ListReader, ReadWithoutItemsTakesALine) {
    std::istringstream in("skipped\n4\n");
    ListReader reader(in, "case.in");
    reader.begin("R");
    reader.finish();
    EXPECT_EQ(reader.readInt("R", "f"), 4);
}

TEST(ListReader, ValueOutsideAReadIsAProgrammingError) {
    std::istringstream in("1\n");
    ListReader reader(in, "case.in");
    int v = 0;
    EXPECT_THROW(reader.item(v, "f"), std::logic_error);
}

}  // namespace
}  // namespace pileaxial::textio
