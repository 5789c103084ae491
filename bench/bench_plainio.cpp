// The physical limit a command-line run is measured against: a process that reads whole files
// and writes files of given sizes durably (written, then flushed to disk), and does nothing else.
//
// bench_plainio READ_FILE... -- WRITE_FILE SIZE [WRITE_FILE SIZE]...
// The bytes written are the bytes read, repeated as far as needed.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

bool ReadWhole(const char* path, std::vector<char>& out)
{
    const int fd = ::open(path, O_RDONLY);
    if (fd < 0)
        return false;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, 0, SEEK_SET);
    const size_t start = out.size();
    out.resize(start + size_t(size));
    size_t done = 0;
    while (done < size_t(size)) {
        const ssize_t got = ::read(fd, out.data() + start + done, size_t(size) - done);
        if (got <= 0)
            break;
        done += size_t(got);
    }
    ::close(fd);
    return done == size_t(size);
}

bool WriteDurably(const char* path, const std::vector<char>& source, size_t size)
{
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    std::vector<char> bytes(size);
    for (size_t at = 0; at < size && !source.empty(); at += source.size())
        std::memcpy(bytes.data() + at, source.data(), std::min(source.size(), size - at));
    size_t done = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, bytes.data() + done, size - done);
        if (put <= 0)
            break;
        done += size_t(put);
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced && done == size;
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<char> read;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (!ReadWhole(argv[i], read)) {
            std::fprintf(stderr, "bench_plainio: cannot read %s\n", argv[i]);
            return 1;
        }
    for (++i; i + 1 < argc; i += 2)
        if (!WriteDurably(argv[i], read, std::stoul(argv[i + 1]))) {
            std::fprintf(stderr, "bench_plainio: cannot write %s\n", argv[i]);
            return 1;
        }
    return 0;
}
