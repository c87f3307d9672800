#include "support/LhaArchive.h"

#include <stdexcept>

namespace zorp::test {
namespace {

// 2020-01-01 00:00:00 as a DOS date and time, so archives are reproducible.
constexpr uint32_t FixedDosStamp = (((2020u - 1980u) << 9) | (1u << 5) | 1u) << 16;

void Put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

uint8_t HeaderSum(const std::string& Bytes) {
    uint8_t sum = 0;
    for (char c : Bytes)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    return sum;
}

// Bounds-checked little-endian reads of an archive.
class Reader {
public:
    explicit Reader(const std::string& Data) : FData(Data) {}

    void Need(size_t Pos, size_t Count) const {
        if (Pos > FData.size() || Count > FData.size() - Pos)
            throw std::runtime_error("LHA archive is truncated");
    }
    uint8_t U8(size_t Pos) const {
        Need(Pos, 1);
        return static_cast<uint8_t>(FData[Pos]);
    }
    uint16_t U16(size_t Pos) const { return static_cast<uint16_t>(U8(Pos) | (U8(Pos + 1) << 8)); }
    uint32_t U32(size_t Pos) const {
        return U16(Pos) | (static_cast<uint32_t>(U16(Pos + 2)) << 16);
    }
    std::string Bytes(size_t Pos, size_t Count) const {
        Need(Pos, Count);
        return FData.substr(Pos, Count);
    }

private:
    const std::string& FData;
};

// The extended headers that start at Pos with the given first size (levels 1
// and 2): each is a type byte, its data and the size of the next one. Fills
// in the name; returns the position after the last one.
size_t ReadExtendedHeaders(const Reader& In, size_t Pos, uint16_t NextSize, LhaEntry& Entry) {
    std::string directory;
    std::string fileName;
    bool haveFileName = false;
    while (NextSize != 0) {
        if (NextSize < 3)
            throw std::runtime_error("LHA extended header too small");
        In.Need(Pos, NextSize);
        const uint8_t type = In.U8(Pos);
        const std::string data = In.Bytes(Pos + 1, NextSize - 3u);
        if (type == 0x01) {
            fileName = data;
            haveFileName = true;
        } else if (type == 0x02) {
            directory = data;
            for (char& c : directory)
                if (static_cast<uint8_t>(c) == 0xFF || c == '\\')
                    c = '/';
            if (!directory.empty() && directory.back() != '/')
                directory += '/';
        }
        Pos += NextSize;
        NextSize = In.U16(Pos - 2);
    }
    if (haveFileName)
        Entry.Name = fileName;
    Entry.Name = directory + Entry.Name;
    return Pos;
}

} // namespace

uint16_t LhaCrc16(const std::string& Data) {
    uint16_t crc = 0;
    for (char c : Data) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001)
                            : static_cast<uint16_t>(crc >> 1);
    }
    return crc;
}

std::string WrapLha(const std::string& Method, const std::string& Name, const std::string& Packed,
                    const std::string& Original, int Level) {
    if (Method.size() != 5)
        throw std::invalid_argument("LHA method must have five characters");
    if (Level != 0 && Level != 1)
        throw std::invalid_argument("only header levels 0 and 1 are written");
    if (Name.size() > 200)
        throw std::invalid_argument("LHA member name too long");
    // Everything after the size and checksum bytes.
    std::string body = Method;
    Put32(body, static_cast<uint32_t>(Packed.size()));
    Put32(body, static_cast<uint32_t>(Original.size()));
    Put32(body, FixedDosStamp);
    body += static_cast<char>(0x20); // archive attribute
    body += static_cast<char>(Level);
    body += static_cast<char>(Name.size());
    body += Name;
    Put16(body, LhaCrc16(Original));
    if (Level == 1) {
        body += 'U';    // written on Unix
        Put16(body, 0); // no extended headers
    }
    std::string archive;
    archive += static_cast<char>(body.size());
    archive += static_cast<char>(HeaderSum(body));
    archive += body;
    archive += Packed;
    archive += '\0';
    return archive;
}

std::vector<LhaEntry> ReadLhaArchive(const std::string& Archive) {
    const Reader in(Archive);
    std::vector<LhaEntry> entries;
    size_t pos = 0;
    while (pos < Archive.size() && in.U8(pos) != 0) {
        LhaEntry entry;
        in.Need(pos, 22);
        entry.Method = in.Bytes(pos + 2, 5);
        uint32_t packed = in.U32(pos + 7);
        entry.OriginalSize = in.U32(pos + 11);
        entry.Level = in.U8(pos + 20);
        size_t dataStart = 0;
        if (entry.Level == 0 || entry.Level == 1) {
            const size_t headerEnd = pos + 2 + in.U8(pos);
            const size_t nameLength = in.U8(pos + 21);
            entry.Name = in.Bytes(pos + 22, nameLength);
            for (char& c : entry.Name)
                if (c == '\\')
                    c = '/';
            entry.Crc = in.U16(pos + 22 + nameLength);
            if (entry.Level == 0) {
                dataStart = headerEnd;
            } else {
                if (headerEnd < pos + 27 + nameLength)
                    throw std::runtime_error("LHA level-1 header too small");
                dataStart = ReadExtendedHeaders(in, headerEnd, in.U16(headerEnd - 2), entry);
                // The stored size counts the extended headers as well.
                const size_t extended = dataStart - headerEnd;
                if (packed < extended)
                    throw std::runtime_error("LHA level-1 sizes inconsistent");
                packed -= static_cast<uint32_t>(extended);
            }
        } else if (entry.Level == 2) {
            const size_t headerSize = in.U16(pos);
            entry.Crc = in.U16(pos + 21);
            const size_t end = ReadExtendedHeaders(in, pos + 26, in.U16(pos + 24), entry);
            dataStart = pos + headerSize;
            if (end > dataStart)
                throw std::runtime_error("LHA level-2 header size too small");
        } else {
            throw std::runtime_error("unsupported LHA header level");
        }
        entry.Data = in.Bytes(dataStart, packed);
        pos = dataStart + packed;
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace zorp::test
