#include "store/core/Handles.h"

#include <cerrno>
#include <utility>

#include <stdio.h>
#include <unistd.h>

int UniqueFd::release() noexcept { return std::exchange(m_fd, -1); }

void UniqueFd::reset(int fd) noexcept
{
    // A failed close is of no use to a caller that did not ask for it: the descriptor is gone
    // either way, and Linux must not be asked to close it again (EINTR included).
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

int UniqueFd::close() noexcept
{
    if (m_fd < 0)
        return 0;
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 ? 0 : errno;
}

void FileCloser::operator()(std::FILE *file) const noexcept { std::fclose(file); }

UniqueFile streamOf(UniqueFd &fd, const char *mode)
{
    UniqueFile stream(::fdopen(fd.get(), mode));
    if (stream)
        fd.release();
    return stream;
}
