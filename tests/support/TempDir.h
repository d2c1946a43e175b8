#pragma once
#include <QTemporaryDir>
#include <string>

namespace sigil::test {

// A scratch folder removed with its contents at the end of a test.
class TempDir {
public:
    std::string path() const { return dir_.path().toStdString(); }
    std::string file(const std::string& name) const { return path() + "/" + name; }

private:
    QTemporaryDir dir_;
};

}  // namespace sigil::test
