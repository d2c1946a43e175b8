#include <gtest/gtest.h>

#include <sstream>

#include "platform/SettingsFile.h"
#include "settings/DisplaySettingsFile.h"
#include "support/TempDir.h"
#include "support/TextFiles.h"

using namespace sigil;
using sigil::test::readTextFile;
using sigil::test::writeTextFile;

namespace {

class DisplaySettingsTest : public testing::Test {
protected:
    void SetUp() override { file.setPath(path); }
    test::TempDir dir;
    std::string path = dir.file("Tamberly.ini");
    SettingsFile file;
};

std::string describe(const DisplaySettings& d)
{
    std::ostringstream s;
    s << "Size=" << d.iconSize << " XPDisp=" << d.xpDisplay << " MacFilter=" << d.macFilter
      << " MacFileType=" << d.macFileTypes << " Permate=" << d.transparency << " PermateType=" << d.transparencyType
      << std::hex << " BackColor=" << d.backColor << " SelectColor=" << d.selectColor
      << " PermateColor=" << d.transparencyColor;
    return s.str();
}

TEST_F(DisplaySettingsTest, NoFileAndNoGuiGivesPlainDefaults)
{
    DisplaySettings d;
    d.iconSize = 5;
    d.backColor = 1;
    loadDisplaySettings(d, file, "Sigilscope");
    EXPECT_EQ(describe(d), "Size=32 XPDisp=1 MacFilter=7951 MacFileType=icon;icns;rsrc;macs Permate=1 PermateType=0 "
                           "BackColor=ffffff SelectColor=d77800 PermateColor=0");
}

TEST_F(DisplaySettingsTest, ReadsItsSectionAndSavesBack)
{
    writeTextFile(path, "[View]\nSize=48\nXPDisp=0\nMacFilter=3\nMacFileType=icns\nPermate=0\nPermateType=2\n"
                        "BackColor=1,2,3\nSelectColor=4,5,6\nPermateColor=7,8,9\n");
    DisplaySettings d;
    loadDisplaySettings(d, file, "View");
    EXPECT_EQ(describe(d), "Size=48 XPDisp=0 MacFilter=3 MacFileType=icns Permate=0 PermateType=2 "
                           "BackColor=30201 SelectColor=60504 PermateColor=90807");

    d.iconSize = 72;
    d.selectColor = rgbColor(200, 100, 0);
    saveDisplaySettings(d, file, "View");
    EXPECT_EQ(readTextFile(path), "[View]\nSize=72\nXPDisp=0\nMacFilter=3\nMacFileType=icns\nPermate=0\n"
                                  "PermateType=2\nBackColor=1,2,3\nSelectColor=200,100,0\nPermateColor=7,8,9\n");
}

}  // namespace
