#pragma once
#include <string>

namespace sigil::test {

// Writes `text` as the whole file (binary: line endings as given).
void writeTextFile(const std::string& path, const std::string& text);
// The whole file, or "<missing>" when it cannot be read.
std::string readTextFile(const std::string& path);

// Sets an environment variable for the life of the object and puts the old
// value back afterwards (unset when it had none).
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace sigil::test
