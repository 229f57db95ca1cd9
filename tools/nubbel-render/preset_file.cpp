#include "tools/nubbel-render/preset_file.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace render {

namespace {

constexpr VstInt32 kChunkMagic = fourCC("CcnK");
constexpr size_t kProgramNameBytes = 28;
constexpr size_t kBankReservedBytes = 124;

class BigEndianWriter {
public:
    void i32(VstInt32 v) {
        const auto u = static_cast<uint32_t>(v);
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(u >> shift));
    }
    void f32(float v) {
        uint32_t u;
        std::memcpy(&u, &v, sizeof u);
        i32(static_cast<VstInt32>(u));
    }
    void raw(const unsigned char* p, size_t n) { bytes.insert(bytes.end(), p, p + n); }
    void zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    std::vector<unsigned char> bytes;
};

class BigEndianReader {
public:
    BigEndianReader(const std::vector<unsigned char>& b, size_t from, size_t to) : bytes_(b), at_(from), end_(to) {}
    VstInt32 i32() {
        need(4);
        uint32_t u = 0;
        for (int i = 0; i < 4; ++i) u = (u << 8) | bytes_[at_++];
        return static_cast<VstInt32>(u);
    }
    float f32() {
        const auto u = static_cast<uint32_t>(i32());
        float v;
        std::memcpy(&v, &u, sizeof v);
        return v;
    }
    std::vector<unsigned char> raw(size_t n) {
        need(n);
        std::vector<unsigned char> out(bytes_.begin() + static_cast<std::ptrdiff_t>(at_),
                                       bytes_.begin() + static_cast<std::ptrdiff_t>(at_ + n));
        at_ += n;
        return out;
    }
    size_t left() const { return end_ - at_; }
    size_t position() const { return at_; }

private:
    void need(size_t n) const {
        if (n > end_ - at_) throw std::runtime_error("truncated: the file ends inside its header or data");
    }
    const std::vector<unsigned char>& bytes_;
    size_t at_, end_;
};

void writeProgramNameField(BigEndianWriter& out, const std::string& name) {
    unsigned char field[kProgramNameBytes] = {};
    std::memcpy(field, name.data(), std::min(name.size(), kProgramNameBytes - 1));
    out.raw(field, sizeof field);
}

std::string readProgramNameField(BigEndianReader& in) {
    std::vector<unsigned char> field = in.raw(kProgramNameBytes);
    auto end = std::find(field.begin(), field.end(), 0);
    return std::string(field.begin(), end);
}

void encodeInto(BigEndianWriter& out, const PresetFile& p) {
    BigEndianWriter body;
    body.i32(static_cast<VstInt32>(p.kind));
    body.i32(p.formatVersion);
    body.i32(p.fxID);
    body.i32(p.fxVersion);
    if (p.isBank()) {
        body.i32(p.numPrograms);
        body.i32(p.currentProgram);
        body.zeros(kBankReservedBytes);
    } else {
        body.i32(p.numParams);
        writeProgramNameField(body, p.name);
    }
    switch (p.kind) {
        case PresetKind::ProgramParams:
            for (float v : p.params) body.f32(v);
            break;
        case PresetKind::BankParams:
            for (const PresetFile& program : p.programs) encodeInto(body, program);
            break;
        case PresetKind::ProgramChunk:
        case PresetKind::BankChunk:
            body.i32(static_cast<VstInt32>(p.chunk.size()));
            body.raw(p.chunk.data(), p.chunk.size());
            break;
    }
    out.i32(kChunkMagic);
    out.i32(static_cast<VstInt32>(body.bytes.size()));
    out.raw(body.bytes.data(), body.bytes.size());
}

// One record from 'CcnK' to the end its byteSize gives; in holds exactly it.
PresetFile decodeRecord(BigEndianReader& in, bool insideBank) {
    if (in.left() < 8) throw std::runtime_error("too short to be a preset or bank");
    if (in.i32() != kChunkMagic) throw std::runtime_error("not a VST preset or bank (no 'CcnK' header)");
    const VstInt32 byteSize = in.i32();
    if (byteSize < 0 || static_cast<size_t>(byteSize) != in.left())
        throw std::runtime_error("wrong size: the header gives " + std::to_string(byteSize) + " bytes after it, the " +
                                 (insideBank ? "record" : "file") + " has " + std::to_string(in.left()));
    PresetFile p;
    const VstInt32 kind = in.i32();
    if (kind != fourCC("FxCk") && kind != fourCC("FPCh") && kind != fourCC("FxBk") && kind != fourCC("FBCh"))
        throw std::runtime_error("unknown preset kind '" + fourCCText(kind) + "'");
    p.kind = static_cast<PresetKind>(kind);
    if (insideBank && p.kind != PresetKind::ProgramParams)
        throw std::runtime_error("a parameter bank holds a '" + fourCCText(kind) + "' record");
    p.formatVersion = in.i32();
    p.fxID = in.i32();
    p.fxVersion = in.i32();
    if (p.isBank()) {
        p.numPrograms = in.i32();
        p.currentProgram = in.i32();
        in.raw(kBankReservedBytes);
        if (p.numPrograms < 0) throw std::runtime_error("negative program count");
    } else {
        p.numParams = in.i32();
        p.name = readProgramNameField(in);
        if (p.numParams < 0) throw std::runtime_error("negative parameter count");
    }
    switch (p.kind) {
        case PresetKind::ProgramParams:
            if (in.left() != static_cast<size_t>(p.numParams) * 4)
                throw std::runtime_error("wrong size: " + std::to_string(p.numParams) + " parameters need " +
                                         std::to_string(static_cast<size_t>(p.numParams) * 4) + " bytes, " +
                                         std::to_string(in.left()) + " follow");
            for (VstInt32 i = 0; i < p.numParams; ++i) p.params.push_back(in.f32());
            break;
        case PresetKind::BankParams:
            for (VstInt32 i = 0; i < p.numPrograms; ++i) {
                // Each program is a whole record whose own byteSize bounds it.
                if (in.left() < 8)
                    throw std::runtime_error("wrong size: the bank ends before program " + std::to_string(i));
                BigEndianReader peek = in;
                peek.i32();
                const VstInt32 size = peek.i32();
                if (size < 0 || static_cast<size_t>(size) + 8 > in.left())
                    throw std::runtime_error("wrong size: program " + std::to_string(i) + " runs past the end");
                std::vector<unsigned char> record = in.raw(static_cast<size_t>(size) + 8);
                BigEndianReader inner(record, 0, record.size());
                p.programs.push_back(decodeRecord(inner, true));
            }
            if (in.left() != 0) throw std::runtime_error("wrong size: bytes follow the last program");
            break;
        case PresetKind::ProgramChunk:
        case PresetKind::BankChunk: {
            const VstInt32 size = in.i32();
            if (size < 0 || static_cast<size_t>(size) != in.left())
                throw std::runtime_error("wrong size: the chunk says " + std::to_string(size) + " bytes, " +
                                         std::to_string(in.left()) + " follow");
            p.chunk = in.raw(static_cast<size_t>(size));
            break;
        }
    }
    return p;
}

}  // namespace

std::string fourCCText(VstInt32 code) {
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((static_cast<uint32_t>(code) >> shift) & 0xff);
        s += (c >= 32 && c < 127) ? c : '?';
    }
    return s;
}

std::vector<unsigned char> encodePreset(const PresetFile& preset) {
    BigEndianWriter out;
    encodeInto(out, preset);
    return out.bytes;
}

PresetFile decodePreset(const std::vector<unsigned char>& bytes) {
    BigEndianReader in(bytes, 0, bytes.size());
    return decodeRecord(in, false);
}

}  // namespace render
