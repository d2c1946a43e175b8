#pragma once
// The document of the single-document frame. It holds nothing: the
// library's document state lives with the icon view.

#include <QObject>

namespace sigil {

class CSigilscopeDoc : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // The framework's own modified flag, which the program never uses.
    bool isModified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

private:
    bool modified_ = false;
};

}  // namespace sigil
