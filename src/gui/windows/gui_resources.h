#pragma once

#include <QIcon>

namespace tellavin {

// Registers the pictures compiled into the program (":/icons/..."). The
// program and the GUI tests call it once before any window is made.
void InitGuiResources();

// The program's icon, for the title bars of its windows.
QIcon ProgramIcon();

} // namespace tellavin
