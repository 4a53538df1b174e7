// INI files: reading texts and booleans, write-through, keeping the rest.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/ini.h"

namespace {

class IniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/orvanix-ini-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    file_ = folder_ + "/Orvanix.ini";
  }
  void TearDown() override {
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
    std::filesystem::remove_all(folder_);
  }

  void store(const std::string& bytes) const { std::ofstream(file_, std::ios::binary) << bytes; }
  std::string bytes() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string folder_;
  std::string file_;
};

TEST_F(IniTest, BooleanIsTrueExactlyWhenTheValueBeginsWithOne) {
  store("[Formalism]\nYes=yes\nOne=1\nZero=0\nOneAbc=1abc\nTen=10\nEmpty=\nBlank=  1  \nTrue=true\n"
        "Minus=-1\n");
  const IniFile ini(file_);
  struct Case {
    std::string key;
    bool whenDefaultFalse;
    bool whenDefaultTrue;
  };
  const std::vector<Case> cases = {
      {"One", true, true},     {"OneAbc", true, true},   {"Ten", true, true},
      {"Blank", true, true},   {"Zero", false, false},   {"Yes", false, false},
      {"True", false, false},  {"Minus", false, false},
      // Missing or empty: the default.
      {"Empty", false, true},  {"Missing", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(ini.ReadBool("Formalism", c.key, false), c.whenDefaultFalse);
    EXPECT_EQ(ini.ReadBool("Formalism", c.key, true), c.whenDefaultTrue);
  }
  EXPECT_TRUE(ini.ReadBool("NoSection", "One", true));
}

TEST_F(IniTest, ReadsTextsAndDefaults) {
  store("[GnuPlot]\r\nDir = C:\\Programme\\gnuplot\\bin \r\nEmpty=\r\nEquals=a=b\r\n");
  const IniFile ini(file_);
  EXPECT_EQ(ini.ReadString("GnuPlot", "Dir", "x"), "C:\\Programme\\gnuplot\\bin");
  EXPECT_EQ(ini.ReadString("GnuPlot", "Equals", "x"), "a=b");
  EXPECT_EQ(ini.ReadString("GnuPlot", "Empty", "x"), "") << "an empty value is a value";
  EXPECT_EQ(ini.ReadString("GnuPlot", "Missing", "default"), "default");
  EXPECT_EQ(ini.ReadString("Missing", "Dir", "default"), "default");
}

TEST_F(IniTest, NamesMatchWithoutRegardToCase) {
  store("[GnuPlot]\nDir=/usr/bin\n[Units]\nwavelength=1\n");
  IniFile ini(file_);
  EXPECT_EQ(ini.ReadString("gnuplot", "DIR", ""), "/usr/bin");
  EXPECT_EQ(ini.ReadString("GNUPLOT", "dir", ""), "/usr/bin");
  EXPECT_TRUE(ini.ReadBool("UNITS", "WaveLength", false));
  EXPECT_TRUE(ini.SectionExists("units"));
  EXPECT_TRUE(ini.ValueExists("Units", "WAVELENGTH"));
  // Writing under another spelling updates the one key; no second section.
  ini.WriteString("Gnuplot", "dir", "/opt/gnuplot");
  EXPECT_EQ(bytes(), "[GnuPlot]\r\nDir=/opt/gnuplot\r\n[Units]\r\nwavelength=1\r\n");
}

TEST_F(IniTest, WriteKeepsEverythingElseInItsPlace) {
  store("; written by hand\n[Formalism]\nVelocity=0\nLength=1\n\n[Units]\nwavelength=1\n"
        "wavenumber=0\n\n[Other]\nkeep=me\n");
  IniFile ini(file_);
  ini.WriteBool("Formalism", "Velocity", true);
  ini.WriteString("Units", "newkey", "new value");
  ini.WriteBool("ExtractHeat", "subfolders", false);
  EXPECT_EQ(bytes(),
            "; written by hand\r\n[Formalism]\r\nVelocity=1\r\nLength=1\r\n\r\n[Units]\r\nwavelength=1\r\n"
            "wavenumber=0\r\nnewkey=new value\r\n\r\n[Other]\r\nkeep=me\r\n\r\n[ExtractHeat]\r\n"
            "subfolders=0\r\n");
  const IniFile again(file_);
  EXPECT_TRUE(again.ReadBool("Formalism", "Velocity", false));
  EXPECT_TRUE(again.ReadBool("Formalism", "Length", false));
  EXPECT_EQ(again.ReadString("Other", "keep", ""), "me");
  EXPECT_EQ(again.ReadString("Units", "newkey", ""), "new value");
  EXPECT_FALSE(again.ReadBool("ExtractHeat", "subfolders", true));
}

TEST_F(IniTest, EachWriteReachesTheDiskAtOnce) {
  IniFile ini(file_);
  EXPECT_FALSE(std::filesystem::exists(file_)) << "reading a missing file creates nothing";
  EXPECT_EQ(ini.ReadString("Formalism", "Velocity", "none"), "none");
  ini.WriteBool("Formalism", "Velocity", false);
  ini.WriteBool("Formalism", "Length", true);
  ini.WriteString("GnuPlot", "Dir", "C:\\Programme\\gnuplot\\bin");
  // Read by a second object while the first one still lives.
  const IniFile reader(file_);
  EXPECT_FALSE(reader.ReadBool("Formalism", "Velocity", true));
  EXPECT_TRUE(reader.ReadBool("Formalism", "Length", false));
  EXPECT_EQ(reader.ReadString("GnuPlot", "Dir", ""), "C:\\Programme\\gnuplot\\bin");
  EXPECT_EQ(bytes(), "[Formalism]\r\nVelocity=0\r\nLength=1\r\n\r\n[GnuPlot]\r\nDir=C:\\Programme\\gnuplot\\bin\r\n");
}

TEST_F(IniTest, CollectedWritesReachTheDiskOnceAtUpdate) {
  store("[Formalism]\r\nVelocity=0\r\n");
  IniFile ini(file_);
  ini.BeginUpdate();
  ini.WriteBool("Formalism", "Velocity", true);
  ini.WriteString("GnuPlot", "Dir", "/usr/bin");
  EXPECT_EQ(bytes(), "[Formalism]\r\nVelocity=0\r\n") << "nothing written before UpdateFile";
  EXPECT_TRUE(ini.ReadBool("Formalism", "Velocity", false)) << "the object reads its own changes";
  ini.UpdateFile();
  EXPECT_EQ(bytes(), "[Formalism]\r\nVelocity=1\r\n\r\n[GnuPlot]\r\nDir=/usr/bin\r\n");
  ini.WriteBool("Formalism", "Velocity", false);
  EXPECT_EQ(bytes(), "[Formalism]\r\nVelocity=0\r\n\r\n[GnuPlot]\r\nDir=/usr/bin\r\n")
      << "after the update each write reaches the disk again";

  // A collected save that fails leaves the file as it was.
  IniFile missingFolder(folder_ + "/no-folder/Orvanix.ini");
  missingFolder.BeginUpdate();
  missingFolder.WriteBool("Formalism", "Velocity", true);
  EXPECT_THROW(missingFolder.UpdateFile(), EInOutError);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/no-folder"));
}

TEST_F(IniTest, LineBreaksInAValueCannotSplitTheFile) {
  IniFile ini(file_);
  ini.WriteString("S", "k", "a\r\nb=c\n[T]");
  EXPECT_EQ(bytes(), "[S]\r\nk=a  b=c [T]\r\n");
}

TEST_F(IniTest, FailedWriteRaisesAndChangesNothing) {
  IniFile missingFolder(folder_ + "/no-folder/Orvanix.ini");
  try {
    missingFolder.WriteBool("Formalism", "Velocity", true);
    FAIL() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.what(), "Path not found (" + folder_ + "/no-folder/Orvanix.ini)");
  }

  store("[Formalism]\nVelocity=0\n");
  IniFile ini(file_);
  // The file turns into a folder after it was read: the write must fail.
  std::filesystem::remove(file_);
  std::filesystem::create_directory(file_);
  try {
    ini.WriteBool("Formalism", "Velocity", true);
    FAIL() << "no error";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.what(), "Access denied (" + file_ + ")");
  }
  EXPECT_FALSE(ini.ReadBool("Formalism", "Velocity", true)) << "a failed write changes nothing";
}

TEST_F(IniTest, WriteToALockedFolderIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into every folder; the folder case covers the text";
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  IniFile ini(file_);
  EXPECT_THROW(ini.WriteBool("Formalism", "Velocity", true), EInOutError);
}

TEST_F(IniTest, UnreadableFileRaises) {
  std::filesystem::create_directory(file_);
  EXPECT_THROW(IniFile{file_}, EInOutError);
}

TEST_F(IniTest, ByteOrderMarkDoesNotHideTheFirstSection) {
  store("\xEF\xBB\xBF[Formalism]\r\nLength=1\r\n");
  EXPECT_TRUE(IniFile(file_).ReadBool("Formalism", "Length", false));
}

TEST_F(IniTest, FirstOfRepeatedSectionsAndKeysCounts) {
  store("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
  IniFile ini(file_);
  EXPECT_EQ(ini.ReadString("A", "k", ""), "1");
  EXPECT_EQ(ini.ReadString("A", "j", "none"), "none");
  ini.WriteString("a", "k", "5");
  EXPECT_EQ(bytes(), "[A]\r\nk=5\r\nk=2\r\n[a]\r\nk=3\r\nj=4\r\n");
}

}  // namespace
