#pragma once

#include <QFont>

namespace valdrex {

// The large serif, bold, italic font of the program's title in the welcome and About windows.
QFont TitleFont();

} // namespace valdrex
