#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonArray>
#include <QFile>
#include <sstream>

#include "cli/SigilCommands.h"
#include "formats/IconFile.h"
#include "support/IconBytes.h"
#include "support/TempDir.h"

using namespace sigil;
using namespace sigil::test;

namespace {

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

RunResult sigilRun(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = runSigil(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(SigilList, PrintsIconsAndDevicesAndNamesFailures)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("a.ico"), icoFile({iconImage(32, 32, 4), iconImage(16, 16, 32)})));
    const RunResult r = sigilRun({"list", dir.file("a.ico"), dir.file("missing.ico")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "a\t" + dir.file("a.ico") + "\n  16x16\t32bit\tXP\t1128 bytes\n  32x32\t4bit\t16色\t744 bytes\n");
    EXPECT_NE(r.err.find(dir.file("missing.ico")), std::string::npos);
    EXPECT_EQ(sigilRun({"list", dir.file("a.ico")}).code, 0);
}

TEST(SigilList, JsonHasOneObjectPerIcon)
{
    TempDir dir;
    ASSERT_TRUE(writeFile(dir.file("ア.ico"), icoFile({iconImage(48, 48, 8)})));
    const RunResult r = sigilRun({"list", "--json", dir.file("ア.ico"), dir.file("ア.ico")});
    ASSERT_EQ(r.code, 0);
    std::istringstream lines(r.out);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        EXPECT_EQ(o["name"].toString().toStdString(), "ア");
        EXPECT_EQ(o["source"].toString().toStdString(), dir.file("ア.ico"));
        const QJsonArray devices = o["devices"].toArray();
        ASSERT_EQ(devices.size(), 1);
        EXPECT_EQ(devices[0].toObject()["width"].toInt(), 48);
        EXPECT_EQ(devices[0].toObject()["height"].toInt(), 48);
        EXPECT_EQ(devices[0].toObject()["bitCount"].toInt(), 8);
        EXPECT_EQ(devices[0].toObject()["bytes"].toInt(), 3752);
        ++count;
    }
    EXPECT_EQ(count, 2);
}

TEST(SigilUsage, WrongUsageExitsWithTwo)
{
    EXPECT_EQ(sigilRun({}).code, 2);
    EXPECT_EQ(sigilRun({"list"}).code, 2);
    EXPECT_EQ(sigilRun({"frobnicate", "x"}).code, 2);
    EXPECT_EQ(sigilRun({"extract", "x.ico"}).code, 2);
    EXPECT_EQ(sigilRun({"extract", "x.ico", "-o"}).code, 2);
}

TEST(SigilExtract, NeverOverwrites)
{
    TempDir in, out;
    const Bytes ico = icoFile({iconImage(16, 16, 4)});
    ASSERT_TRUE(writeFile(in.file("same.ico"), ico));
    ASSERT_TRUE(writeFile(out.file("same.ico"), Bytes{1, 2, 3}));
    const RunResult r = sigilRun({"extract", in.file("same.ico"), in.file("same.ico"), "-o", out.path()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(out.file("same.ico")), (Bytes{1, 2, 3}));
    for (const char* name : {"same_1.ico", "same_2.ico"}) {
        IconEntry e;
        EXPECT_TRUE(readIconBytes(readFile(out.file(name)), e)) << name;
        EXPECT_EQ(e.deviceCount(), 1);
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out.file("same_3.ico"))));
}

TEST(SigilExtract, MissingOutputFolderFails)
{
    TempDir in;
    ASSERT_TRUE(writeFile(in.file("a.ico"), icoFile({iconImage(16, 16, 4)})));
    EXPECT_EQ(sigilRun({"extract", in.file("a.ico"), "-o", in.file("nope")}).code, 1);
}

}  // namespace
