#include "database/append_mark.h"

#include <string>
#include <sys/xattr.h>
#include <unistd.h>

namespace valdrex {
namespace {

constexpr char kAppendMark[] = "user.valdrex.appending";

struct AppendMark {
    off_t start = 0;
    off_t end = 0;
};

bool SpansPages(off_t start, std::size_t length) {
    static const off_t page = ::sysconf(_SC_PAGESIZE);
    return start / page != (start + static_cast<off_t>(length) - 1) / page;
}

} // namespace

bool MarkAppend(int fd, off_t start, std::size_t length) {
    const AppendMark mark{start, start + static_cast<off_t>(length)};
    return SpansPages(start, length) && ::fsetxattr(fd, kAppendMark, &mark, sizeof mark, 0) == 0;
}

void ClearAppendMark(int fd) {
    (void)::fremovexattr(fd, kAppendMark);
}

off_t TakeBackCutAppend(int fd, off_t size, char& last) {
    AppendMark mark;
    if (last == '\n' || ::fgetxattr(fd, kAppendMark, &mark, sizeof mark) != sizeof mark ||
        size <= mark.start || size >= mark.end)
        return size;
    std::string cut(static_cast<std::size_t>(size - mark.start), '\0');
    if (::pread(fd, cut.data(), cut.size(), mark.start) != static_cast<ssize_t>(cut.size()) ||
        cut.find('\n', 2) != std::string::npos || ::ftruncate(fd, mark.start) != 0)
        return size;
    ClearAppendMark(fd);
    last = '\n';
    if (mark.start > 0)
        (void)::pread(fd, &last, 1, mark.start - 1);
    return mark.start;
}

} // namespace valdrex
