#pragma once

#include <cstddef>

// The entry point of the loadable module that writes the database file for valdrex-solve.

// The module's file name, looked for beside the executable.
inline constexpr char kDatabaseModuleFileName[] = "valdrex-database.so";
inline constexpr char kAppendDatabaseLineSymbol[] = "valdrex_append_database_line";

// Appends `line` (UTF-8, `length` bytes) and CR LF to the file at `path`, emptying it first when
// `truncateFirst` is not 0. Returns 0, or the failure's number with its description written into
// `description` (cut to `capacity` bytes, terminated).
using AppendDatabaseLineFunction = int(const char* path, const char* line, std::size_t length,
                                       int truncateFirst, char* description, std::size_t capacity);
