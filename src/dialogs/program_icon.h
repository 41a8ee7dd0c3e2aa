#pragma once

#include <QIcon>

namespace valdrex {

// The program's icon in every size it is drawn at, from the embedded resources.
QIcon ProgramIcon();

} // namespace valdrex
