#pragma once

#include <Qt>

namespace tellavin {

// Shows a mouse pointer (the hourglass for long work) for the life of the
// object: the first SetPointer remembers the pointer the program had, and the
// destructor brings it back, however the procedure that made the object ends.
class cMouse {
public:
    cMouse() = default;
    ~cMouse();
    cMouse(const cMouse&) = delete;
    cMouse& operator=(const cMouse&) = delete;

    void SetPointer(Qt::CursorShape pointer);

private:
    bool bSet_ = false;
};

} // namespace tellavin
