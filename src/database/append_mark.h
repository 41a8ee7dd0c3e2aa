#pragma once

#include <cstddef>
#include <sys/types.h>

namespace valdrex {

// A kill can stop a write to a file between two pages, leaving the start of a line without its
// end. An append that spans pages therefore first marks the file with the bytes it is about to
// fill, in an extended attribute, which readers never see; the next writer takes back, under the
// lock, what a kill left of it. A file system without extended attributes is written unmarked.

// Marks the `length` bytes about to be appended at `start` when they span pages; returns
// whether the file is marked (and must be cleared once the write is done).
bool MarkAppend(int fd, off_t start, std::size_t length);
// Removes the mark: the append it stood for is over, or its bytes are gone.
void ClearAppendMark(int fd);

// When the file of `size` bytes ends (`last`) within a marked append and what it holds of it has
// no line end, but for the CR LF it may begin with, cuts that off. Returns the size after, with
// `last` its last byte again.
off_t TakeBackCutAppend(int fd, off_t size, char& last);

} // namespace valdrex
