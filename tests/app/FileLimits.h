// Conditions under which writing a file fails part way or is refused: a file size limit for
// the process, and an ordinary user where the tests run as root.
#pragma once

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace ulvan::test {

// Root writes to read-only files and folders; while this lives the process runs as an
// ordinary user.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() == 0)
            m_switched = ::seteuid(65534) == 0;
    }
    ~AsOrdinaryUser() {
        if (m_switched)
            static_cast<void>(::seteuid(0));
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

private:
    bool m_switched = false;
};

// A file size limit for this process while it lives; writing beyond it fails with EFBIG
// instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace ulvan::test
