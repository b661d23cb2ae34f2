// Preloaded (LD_PRELOAD) into a jev process by the interrupted-rewrite tests: stops the process
// with SIGSTOP just before its Nth call that changes files (an open for writing, write, ftruncate,
// fsync, flock, rename, unlink), N from JEV_STOP_AT_CALL, so that the test can kill it at exactly
// that point of a rewrite. Without JEV_STOP_AT_CALL it only passes the calls on.

#include <atomic>
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

std::atomic<long> g_calls{0};

void countCall()
{
    static const long stopAt = [] {
        const char *value = std::getenv("JEV_STOP_AT_CALL");
        return value ? std::atol(value) : 0L;
    }();
    if (++g_calls == stopAt)
        ::raise(SIGSTOP);
}

template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

} // namespace

// A call that stops the process before it is passed on to the C library.
#define JEV_STOP_BEFORE(result, name, parameters, arguments)                                       \
    result name parameters                                                                         \
    {                                                                                              \
        countCall();                                                                               \
        static const auto real = next<result(*) parameters>(#name);                                \
        return real arguments;                                                                     \
    }

// An open stops the process only when it may change the file.
#define JEV_STOP_BEFORE_OPEN(name, parameters, arguments)                                          \
    int name parameters                                                                            \
    {                                                                                              \
        va_list args;                                                                              \
        va_start(args, flags);                                                                     \
        const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;            \
        va_end(args);                                                                              \
        if (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC))                                       \
            countCall();                                                                           \
        static const auto real = next<int(*) parameters>(#name);                                   \
        return real arguments;                                                                     \
    }

extern "C" {
JEV_STOP_BEFORE_OPEN(open, (const char *path, int flags, ...), (path, flags, mode))
JEV_STOP_BEFORE_OPEN(open64, (const char *path, int flags, ...), (path, flags, mode))
JEV_STOP_BEFORE_OPEN(openat, (int dir, const char *path, int flags, ...), (dir, path, flags, mode))
JEV_STOP_BEFORE_OPEN(openat64, (int dir, const char *path, int flags, ...),
                     (dir, path, flags, mode))
JEV_STOP_BEFORE(ssize_t, write, (int fd, const void *buffer, size_t count), (fd, buffer, count))
JEV_STOP_BEFORE(int, ftruncate, (int fd, off_t length), (fd, length))
JEV_STOP_BEFORE(int, ftruncate64, (int fd, off64_t length), (fd, length))
JEV_STOP_BEFORE(int, fsync, (int fd), (fd))
JEV_STOP_BEFORE(int, fdatasync, (int fd), (fd))
JEV_STOP_BEFORE(int, flock, (int fd, int operation), (fd, operation))
JEV_STOP_BEFORE(int, rename, (const char *from, const char *to), (from, to))
JEV_STOP_BEFORE(int, renameat, (int fromDir, const char *from, int toDir, const char *to),
                (fromDir, from, toDir, to))
JEV_STOP_BEFORE(int, unlink, (const char *path), (path))
JEV_STOP_BEFORE(int, unlinkat, (int dir, const char *path, int flags), (dir, path, flags))
}
