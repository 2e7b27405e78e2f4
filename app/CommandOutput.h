// Standard output of the command line, checked: the result of a subcommand is only a success
// when all of it reached its destination (a full disk, a file size limit or a closed standard
// output are failures, reported with the system's reason).
#pragma once

#include <array>
#include <iosfwd>
#include <streambuf>
#include <string>

namespace ulvan {

// A stream buffer writing to a file descriptor with write(2), retrying partial writes and
// interruptions. The first failure is kept (Error(), an errno value); from then on every
// write fails, so the stream owning it goes bad.
class DescriptorOutputBuffer : public std::streambuf {
public:
    explicit DescriptorOutputBuffer(int descriptor);
    ~DescriptorOutputBuffer() override;
    DescriptorOutputBuffer(const DescriptorOutputBuffer&) = delete;
    DescriptorOutputBuffer& operator=(const DescriptorOutputBuffer&) = delete;

    int Error() const { return m_error; }

protected:
    int_type overflow(int_type ch) override;
    int sync() override;

private:
    bool Drain();

    int m_descriptor;
    int m_error = 0;
    std::array<char, 4096> m_buffer{};
};

// Flushes `out`; when anything written to it did not arrive, says "標準出力に書き込めません"
// with the reason on `err` and returns 1, otherwise returns `code` unchanged.
int FinishStandardOutput(int code, std::ostream& out, std::ostream& err);

} // namespace ulvan
