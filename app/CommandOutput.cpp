#include "app/CommandOutput.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include <fcntl.h>
#include <unistd.h>

namespace ulvan {

DescriptorOutputBuffer::DescriptorOutputBuffer(int descriptor)
    : m_descriptor(descriptor) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    // A descriptor that is not open fails from the start, also when nothing is written.
    if (::fcntl(m_descriptor, F_GETFD) == -1)
        m_error = errno;
}

DescriptorOutputBuffer::~DescriptorOutputBuffer() {
    Drain();
}

bool DescriptorOutputBuffer::Drain() {
    const char* data = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    if (left == 0)
        return true; // nothing to lose
    if (m_error != 0)
        return false;
    while (left > 0) {
        const ssize_t written = ::write(m_descriptor, data, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = written < 0 ? errno : EIO;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

DescriptorOutputBuffer::int_type DescriptorOutputBuffer::overflow(int_type ch) {
    if (!Drain())
        return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof()))
        return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
}

int DescriptorOutputBuffer::sync() {
    return Drain() ? 0 : -1;
}

int FinishStandardOutput(int code, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out.good())
        return code;
    const auto* buffer = dynamic_cast<const DescriptorOutputBuffer*>(out.rdbuf());
    const int error = buffer != nullptr ? buffer->Error() : 0;
    err << "ulvan: 標準出力に書き込めません ("
        << (error != 0 ? std::strerror(error) : "output stream failed") << ")\n";
    err.flush();
    return code != 0 ? code : 1;
}

} // namespace ulvan
