#include <gtest/gtest.h>

#include <vector>

#include "model/IconLibrary.h"

using namespace sigil;

namespace {

std::unique_ptr<IconEntry> iconWith(int devices)
{
    auto e = std::make_unique<IconEntry>();
    for (int i = 0; i < devices; ++i)
        e->addDevice(16 + 16 * i, 16 + 16 * i, 4);
    return e;
}

class RecordingObserver : public LoadObserver, public ProgressObserver {
public:
    std::vector<int> added;
    int finished = 0;
    std::vector<std::pair<int, int>> progress;
    int addedMessage(int index) override
    {
        added.push_back(index);
        return 7;
    }
    void finishedMessage() override { ++finished; }
    void progressMessage(int phase, int percent) override { progress.emplace_back(phase, percent); }
};

TEST(DeviceTotal, FollowsEveryChange)
{
    IconLibrary lib;
    lib.appendIcon(iconWith(4));
    lib.appendIcon(iconWith(4));
    lib.appendIcon(iconWith(4));
    EXPECT_EQ(lib.deviceTotal(), 12);
    lib.removeIcon(1);
    EXPECT_EQ(lib.deviceTotal(), 8);
    EXPECT_EQ(lib.addDevice(0, 8, 8, 1), 0);
    EXPECT_EQ(lib.deviceTotal(), 9);
    EXPECT_EQ(lib.addDevice(0, 8, 8, 1), -1);
    EXPECT_EQ(lib.deviceTotal(), 9);
    lib.removeDevice(0, -1);
    EXPECT_EQ(lib.deviceTotal(), 4);
    lib.insertIcon(0, iconWith(2));
    lib.moveIcon(0, 2);
    EXPECT_EQ(lib.deviceTotal(), 6);
    EXPECT_EQ(lib.at(2).deviceCount(), 2);
    ASSERT_TRUE(lib.addBlankIcon(32, 32, 8));
    EXPECT_EQ(lib.deviceTotal(), 7);
    EXPECT_TRUE(lib.at(3).name.empty());
    EXPECT_EQ(lib.at(3).deviceCount(), 1);
    lib.removeIcon(-1);
    EXPECT_EQ(lib.deviceTotal(), 0);
    EXPECT_TRUE(lib.empty());
}

TEST(DeviceTotal, RecountAfterInPlaceEdits)
{
    IconLibrary lib;
    lib.appendIcon(iconWith(2));
    lib.at(0).removeDevice(0);
    lib.recountDevices();
    EXPECT_EQ(lib.deviceTotal(), 1);
}

TEST(BlankIcon, RefusedWhenTheDeviceCannotBeMade)
{
    IconLibrary lib;
    EXPECT_FALSE(lib.addBlankIcon(70000, 16, 8));
    EXPECT_FALSE(lib.addBlankIcon(16, 16, 7));
    EXPECT_TRUE(lib.empty());
}

TEST(Notices, GoToTheRegisteredObserverOnly)
{
    IconLibrary lib;
    EXPECT_EQ(lib.notifyAdded(0), 0);
    lib.notifyFinished();
    lib.notifyProgress(1, 50);
    RecordingObserver obs;
    lib.setLoadObserver(&obs);
    lib.setProgressObserver(&obs);
    EXPECT_EQ(lib.notifyAdded(3), 7);
    lib.notifyFinished();
    lib.notifyProgress(2, 40);
    EXPECT_EQ(obs.added, std::vector<int>{3});
    EXPECT_EQ(obs.finished, 1);
    EXPECT_EQ(obs.progress, (std::vector<std::pair<int, int>>{{2, 40}}));
}

}  // namespace
