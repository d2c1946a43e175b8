#pragma once
#include <functional>
#include <vector>

#include "model/IconLibrary.h"

namespace sigil::test {

// Records the load notices; `onAdded` lets a test act from inside the
// reader's call, as the view does (for example by asking to cancel).
class LoadRecorder : public LoadObserver {
public:
    std::vector<int> added;
    int finished = 0;
    std::function<void(int)> onAdded;

    int addedMessage(int index) override
    {
        added.push_back(index);
        if (onAdded)
            onAdded(index);
        return 0;
    }
    void finishedMessage() override { ++finished; }
};

}  // namespace sigil::test
