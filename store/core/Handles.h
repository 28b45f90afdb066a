#pragma once
// Owners of the C library's file resources: a POSIX file descriptor and a stdio stream. Each is
// closed exactly once, by its owner, on every path; handing one over is an explicit release().
#include <cstdio>
#include <memory>

// An open file descriptor, closed when the owner goes. Movable, not copyable.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd &&other) noexcept : m_fd(other.release()) {}
    UniqueFd &operator=(UniqueFd &&other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd &) = delete;
    UniqueFd &operator=(const UniqueFd &) = delete;

    int get() const noexcept { return m_fd; }
    bool isOpen() const noexcept { return m_fd >= 0; }
    explicit operator bool() const noexcept { return isOpen(); }

    // Gives the descriptor up without closing it: the caller, or whatever it hands it to, owns it.
    int release() noexcept;
    // Closes the descriptor held, if any, and holds `fd` instead.
    void reset(int fd = -1) noexcept;
    // Closes the descriptor now, for a caller that must know whether the close succeeded (a
    // write's last error may only show there). Returns 0, or the error number of the close; the
    // descriptor is given up either way, as the system does.
    int close() noexcept;

private:
    int m_fd = -1;
};

struct FileCloser {
    void operator()(std::FILE *file) const noexcept;
};
// An open stdio stream, closed when the owner goes.
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// A stdio stream over `fd`. When the stream is made it owns the descriptor and `fd` is left
// empty; when it cannot be (null is returned, errno says why), `fd` keeps the descriptor.
UniqueFile streamOf(UniqueFd &fd, const char *mode);
