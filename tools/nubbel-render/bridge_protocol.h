// The pipe protocol between nubbel-render and its helper process, which
// hosts a plug-in the renderer cannot load itself (a Windows DLL under wine).
// Every message is a 32-bit tag, a 32-bit payload size and the payload; all
// numbers little-endian as both ends are x86. The renderer sends a request
// tagged with a Command and waits for one reply tagged kReplyOk or
// kReplyFailed (payload: the reason as text).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace render::bridge {

enum Command : uint32_t {
    kLoad = 1,        // text path → PluginInfo as 7 × i32
    kDispatch,        // i32 opcode, i32 index, i64 value, f32 opt → i64
    kText,            // i32 opcode, i32 index → text
    kSetProgramName,  // text → nothing
    kGetParameter,    // i32 index → f32
    kSetParameter,    // i32 index, f32 value → nothing
    kGetChunk,        // i32 preset → bytes
    kSetChunk,        // i32 preset, bytes → i64
    kProcess,         // f64 position, i32 frames, i32 count, count × (i32 delta, 3 bytes), floats → floats
    kQuit,            // → nothing; the helper closes the plug-in and ends
};
constexpr uint32_t kReplyOk = 0x4f4b4f4b;
constexpr uint32_t kReplyFailed = 0x4641494c;

// Larger than any block or chunk; a size beyond it means a garbled stream.
constexpr uint32_t kMaxPayload = 64u << 20;

struct ProtocolError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class MessageWriter {
public:
    void i32(int32_t v) { raw(&v, sizeof v); }
    void i64(int64_t v) { raw(&v, sizeof v); }
    void f32(float v) { raw(&v, sizeof v); }
    void f64(double v) { raw(&v, sizeof v); }
    void raw(const void* data, size_t size);
    // A 32-bit length, then the bytes.
    void bytes(const std::vector<unsigned char>& data);
    void text(const std::string& s);
    void floats(const std::vector<float>& values);
    const std::vector<unsigned char>& data() const { return data_; }

private:
    std::vector<unsigned char> data_;
};

// Reads what MessageWriter wrote; throws ProtocolError past the end.
class MessageReader {
public:
    explicit MessageReader(const std::vector<unsigned char>& data) : data_(data) {}
    int32_t i32();
    int64_t i64();
    float f32();
    double f64();
    void raw(void* out, size_t size);
    std::vector<unsigned char> bytes();
    std::string text();
    std::vector<float> floats();

private:
    const std::vector<unsigned char>& data_;
    size_t at_ = 0;
};

// Whole messages over file descriptors; false when the stream ended or broke.
bool writeMessage(int fd, uint32_t tag, const std::vector<unsigned char>& payload);
bool readMessage(int fd, uint32_t& tag, std::vector<unsigned char>& payload);

}  // namespace render::bridge
