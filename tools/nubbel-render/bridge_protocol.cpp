#include "tools/nubbel-render/bridge_protocol.h"

#include <cstring>

#if defined(_WIN32)
#include <io.h>
#define readSome(fd, buffer, size) _read(fd, buffer, static_cast<unsigned>(size))
#define writeSome(fd, buffer, size) _write(fd, buffer, static_cast<unsigned>(size))
#else
#include <cerrno>
#include <unistd.h>
#define readSome(fd, buffer, size) ::read(fd, buffer, size)
#define writeSome(fd, buffer, size) ::write(fd, buffer, size)
#endif

namespace render::bridge {

void MessageWriter::raw(const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    data_.insert(data_.end(), p, p + size);
}

void MessageWriter::bytes(const std::vector<unsigned char>& data) {
    i32(static_cast<int32_t>(data.size()));
    raw(data.data(), data.size());
}

void MessageWriter::text(const std::string& s) {
    i32(static_cast<int32_t>(s.size()));
    raw(s.data(), s.size());
}

void MessageWriter::floats(const std::vector<float>& values) {
    i32(static_cast<int32_t>(values.size()));
    raw(values.data(), values.size() * sizeof(float));
}

void MessageReader::raw(void* out, size_t size) {
    if (size > data_.size() - at_) throw ProtocolError("message shorter than its contents");
    if (size) std::memcpy(out, data_.data() + at_, size);
    at_ += size;
}

int32_t MessageReader::i32() {
    int32_t v;
    raw(&v, sizeof v);
    return v;
}

int64_t MessageReader::i64() {
    int64_t v;
    raw(&v, sizeof v);
    return v;
}

float MessageReader::f32() {
    float v;
    raw(&v, sizeof v);
    return v;
}

double MessageReader::f64() {
    double v;
    raw(&v, sizeof v);
    return v;
}

std::vector<unsigned char> MessageReader::bytes() {
    const int32_t n = i32();
    if (n < 0 || static_cast<size_t>(n) > data_.size() - at_) throw ProtocolError("byte count out of range");
    std::vector<unsigned char> out(static_cast<size_t>(n));
    raw(out.data(), out.size());
    return out;
}

std::string MessageReader::text() {
    std::vector<unsigned char> b = bytes();
    return std::string(b.begin(), b.end());
}

std::vector<float> MessageReader::floats() {
    const int32_t n = i32();
    if (n < 0 || static_cast<size_t>(n) > (data_.size() - at_) / sizeof(float))
        throw ProtocolError("float count out of range");
    std::vector<float> out(static_cast<size_t>(n));
    raw(out.data(), out.size() * sizeof(float));
    return out;
}

namespace {

bool writeAll(int fd, const unsigned char* p, size_t size) {
    while (size > 0) {
        const auto n = writeSome(fd, p, size);
        if (n < 0) {
#if !defined(_WIN32)
            if (errno == EINTR) continue;
#endif
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, unsigned char* p, size_t size) {
    while (size > 0) {
        const auto n = readSome(fd, p, size);
        if (n < 0) {
#if !defined(_WIN32)
            if (errno == EINTR) continue;
#endif
            return false;
        }
        if (n == 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool writeMessage(int fd, uint32_t tag, const std::vector<unsigned char>& payload) {
    uint32_t header[2] = {tag, static_cast<uint32_t>(payload.size())};
    return writeAll(fd, reinterpret_cast<const unsigned char*>(header), sizeof header) &&
           writeAll(fd, payload.data(), payload.size());
}

bool readMessage(int fd, uint32_t& tag, std::vector<unsigned char>& payload) {
    uint32_t header[2];
    if (!readAll(fd, reinterpret_cast<unsigned char*>(header), sizeof header)) return false;
    if (header[1] > kMaxPayload) return false;
    tag = header[0];
    payload.resize(header[1]);
    return readAll(fd, payload.data(), payload.size());
}

}  // namespace render::bridge
