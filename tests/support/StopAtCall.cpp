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

bool changesFiles(int flags)
{
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0;
}

mode_t modeArgument(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, mode_t) : 0;
}

} // namespace

#define JEV_PASS_ON(name, signature, ...)                                                          \
    static const auto real = next<signature>(name);                                                \
    return real(__VA_ARGS__)

extern "C" {

int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changesFiles(flags))
        countCall();
    JEV_PASS_ON("open", int (*)(const char *, int, ...), path, flags, mode);
}

int open64(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changesFiles(flags))
        countCall();
    JEV_PASS_ON("open64", int (*)(const char *, int, ...), path, flags, mode);
}

int openat(int dir, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changesFiles(flags))
        countCall();
    JEV_PASS_ON("openat", int (*)(int, const char *, int, ...), dir, path, flags, mode);
}

int openat64(int dir, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = modeArgument(flags, args);
    va_end(args);
    if (changesFiles(flags))
        countCall();
    JEV_PASS_ON("openat64", int (*)(int, const char *, int, ...), dir, path, flags, mode);
}

ssize_t write(int fd, const void *buffer, size_t count)
{
    countCall();
    JEV_PASS_ON("write", ssize_t(*)(int, const void *, size_t), fd, buffer, count);
}

int ftruncate(int fd, off_t length)
{
    countCall();
    JEV_PASS_ON("ftruncate", int (*)(int, off_t), fd, length);
}

int ftruncate64(int fd, off64_t length)
{
    countCall();
    JEV_PASS_ON("ftruncate64", int (*)(int, off64_t), fd, length);
}

int fsync(int fd)
{
    countCall();
    JEV_PASS_ON("fsync", int (*)(int), fd);
}

int fdatasync(int fd)
{
    countCall();
    JEV_PASS_ON("fdatasync", int (*)(int), fd);
}

int flock(int fd, int operation)
{
    countCall();
    JEV_PASS_ON("flock", int (*)(int, int), fd, operation);
}

int rename(const char *from, const char *to)
{
    countCall();
    JEV_PASS_ON("rename", int (*)(const char *, const char *), from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    countCall();
    JEV_PASS_ON("renameat", int (*)(int, const char *, int, const char *), fromDir, from, toDir,
                to);
}

int unlink(const char *path)
{
    countCall();
    JEV_PASS_ON("unlink", int (*)(const char *), path);
}

int unlinkat(int dir, const char *path, int flags)
{
    countCall();
    JEV_PASS_ON("unlinkat", int (*)(int, const char *, int), dir, path, flags);
}

} // extern "C"
