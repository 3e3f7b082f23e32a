// names.dat, the console dialogue, the file-name split, and the exported entry point.
#include <gtest/gtest.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "engine/control_file.hpp"
#include "engine/report_header.hpp"
#include "tests/test_support.hpp"
#include "textio/input_error.hpp"

namespace pileaxial {
namespace {

const char* kHead = "PILE AXIAL\nline two\nline three\n1\n";

TEST(ControlFile, ReadsTheFourNamesTrailingBlanksIgnored) {
    std::istringstream names(std::string(kHead) + "case.in   \ncase.out\ncase.plt\r\ncase.cpt  \n");
    std::ostringstream console;
    std::istringstream keyboard;
    const RunFileSet f = ReadControlFile(names, console, keyboard);
    EXPECT_EQ(f.inputName, "case.in");
    EXPECT_EQ(f.outputName, "case.out");
    EXPECT_EQ(f.plotName, "case.plt");
    EXPECT_EQ(f.cptName, "case.cpt");
    EXPECT_TRUE(console.str().empty());
}

TEST(ControlFile, BlankOrMissingRecordEightMeansNoSounding) {
    std::ostringstream console;
    std::istringstream keyboard;
    std::istringstream blank(std::string(kHead) + "a.in\na.out\na.plt\n   \n");
    EXPECT_EQ(ReadControlFile(blank, console, keyboard).cptName, "");
    std::istringstream missing(std::string(kHead) + "a.in\na.out\na.plt\n");
    const RunFileSet f = ReadControlFile(missing, console, keyboard);
    EXPECT_EQ(f.cptName, "");
    EXPECT_EQ(f.plotName, "a.plt");
    EXPECT_TRUE(console.str().empty());
}

TEST(ControlFile, ShortFileAsksForAllThreeNamesOnTheConsole) {
    // Record 6 is missing: the dialogue asks again for the input name given in record 5.
    std::istringstream names(std::string(kHead) + "first.in\n");
    std::ostringstream console;
    std::istringstream keyboard("typed.in\ntyped.out  \ntyped.plt\n");
    const RunFileSet f = ReadControlFile(names, console, keyboard);
    EXPECT_EQ(f.inputName, "typed.in");
    EXPECT_EQ(f.outputName, "typed.out");
    EXPECT_EQ(f.plotName, "typed.plt");
    EXPECT_EQ(f.cptName, "");
    EXPECT_EQ(console.str(),
              "\n\n       ENTER A FILE NAME FOR YOUR INPUT FILE.\n ENTER >\n"
              "\n\n       ENTER A FILE NAME FOR YOUR OUTPUT FILE.\n ENTER >\n"
              "\n\n       ENTER A FILE NAME FOR YOUR GRAPHIC DATA FILE.\n ENTER >\n");
}

TEST(ControlFile, FaultsAreInputErrors) {
    std::ostringstream console;
    std::istringstream keyboard;  // nothing typed
    std::istringstream shortFile(std::string(kHead) + "a.in\n");
    EXPECT_THROW(ReadControlFile(shortFile, console, keyboard), InputError);
    std::istringstream badCount("x\ny\nz\nword\na.in\na.out\na.plt\n\n");
    EXPECT_THROW(ReadControlFile(badCount, console, keyboard), InputError);
    std::istringstream truncated("x\ny\n");
    EXPECT_THROW(ReadControlFile(truncated, console, keyboard), InputError);
    // A blank line where a needed name belongs says which; record 4 ran onto line 5 here.
    std::istringstream blank("x\ny\nz\n\n1\na.in\n   \na.plt\n");
    try {
        ReadControlFile(blank, console, keyboard);
        ADD_FAILURE() << "a blank output name was accepted";
    } catch (const InputError& e) {
        EXPECT_EQ(std::string(e.what()), "names.dat, line 7, record 6 (output file name): the line is blank; it "
                                         "must name the report file");
    }
}

TEST(ControlFile, OutputNamedLikeTheControlFileIsRefused) {
    // The report or plot file would overwrite names.dat, which the host wrote for this run.
    std::ostringstream console;
    std::istringstream keyboard;
    std::istringstream report(std::string(kHead) + "a.in\nnames.dat\na.plt\n");
    try {
        ReadControlFile(report, console, keyboard);
        FAIL() << "a report named names.dat was accepted";
    } catch (const InputError& e) {
        EXPECT_NE(std::string(e.what()).find("names.dat, line 6, record 6 (output file name)"), std::string::npos)
            << e.what();
    }
    std::istringstream plot(std::string(kHead) + "a.in\na.out\n./names.dat  \n");
    EXPECT_THROW(ReadControlFile(plot, console, keyboard), InputError);
    std::istringstream similar(std::string(kHead) + "names.dat.in\nnames.out\nnames.dat.plt\n");
    EXPECT_EQ(ReadControlFile(similar, console, keyboard).plotName, "names.dat.plt");
}

TEST(FileNameSplit, WindowsAndPosixNames) {
    FileNameParts p = SplitFileName("C:\\piles\\job 7\\case.dat");
    EXPECT_EQ(p.drive, "C:");
    EXPECT_EQ(p.directory, "\\piles\\job 7\\");
    EXPECT_EQ(p.name, "case");
    EXPECT_EQ(p.extension, ".dat");

    p = SplitFileName("case.in");
    EXPECT_EQ(p.drive, "");
    EXPECT_EQ(p.directory, "");
    EXPECT_EQ(p.name, "case");

    p = SplitFileName("/home/eng/runs/pile.report");
    EXPECT_EQ(p.directory, "/home/eng/runs/");
    EXPECT_EQ(p.extension, ".repo");  // cut to five characters with its dot

    p = SplitFileName("dir.v2/noext");
    EXPECT_EQ(p.name, "noext");
    EXPECT_EQ(p.extension, "");
}

// The exported entry point, loaded as a host loads it, in a directory holding names.dat.
TEST(EntryPoint, IntervaRunsTheCaseNamedByNamesDat) {
    testing::TempDir dir;
    dir.write("names.dat", std::string(kHead) + "case.in\ncase.out\ncase.plt\n\n");
    dir.write("case.in", testing::CaseText().str());
    void* library = dlopen(PILEAXIAL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    using Entry = int32_t (*)(int32_t, int32_t);
    auto iterva = reinterpret_cast<Entry>(dlsym(library, "ITERVA"));
    ASSERT_NE(iterva, nullptr);
    // Nothing but the entry point is exported.
    EXPECT_EQ(dlsym(library, "_ZN9pileaxial3Run7executeERKNS_10RunFileSetE"), nullptr);

    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    EXPECT_EQ(iterva(0, 0), 0);
    EXPECT_NE(testing::readFile(dir.file("case.out")).find("* COMPUTATION RESULT *"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.file("case.plt")));

    // Without names.dat the call fails with status 2 and does not crash.
    std::filesystem::remove(dir.file("names.dat"));
    EXPECT_EQ(iterva(0, 0), 2);
    ASSERT_EQ(chdir("/"), 0);
    dlclose(library);
}

}  // namespace
}  // namespace pileaxial
