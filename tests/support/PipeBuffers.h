// Standard stream buffers that behave like the ends of a pipe: they cannot
// seek, and a reader gets the data in small pieces.
#pragma once

#include <algorithm>
#include <streambuf>
#include <string>
#include <utility>

namespace zorp::test {

// Hands out Data Chunk bytes at a time; every seek fails.
class PipeSource : public std::streambuf {
public:
    explicit PipeSource(std::string Data, size_t Chunk = 1000)
        : FData(std::move(Data)), FChunk(Chunk) {}

protected:
    int_type underflow() override {
        if (FNext == FData.size())
            return traits_type::eof();
        const size_t n = std::min(FChunk, FData.size() - FNext);
        char* at = FData.data() + FNext;
        setg(at, at, at + n);
        FNext += n;
        return traits_type::to_int_type(*at);
    }

private:
    std::string FData;
    size_t FChunk;
    size_t FNext = 0;
};

// Collects what is written into Data, up to Limit bytes; every seek fails.
class PipeSink : public std::streambuf {
public:
    explicit PipeSink(size_t Limit = std::string::npos) : FLimit(Limit) {}
    std::string Data;

protected:
    int_type overflow(int_type C) override {
        if (traits_type::eq_int_type(C, traits_type::eof()))
            return traits_type::not_eof(C);
        if (Data.size() >= FLimit)
            return traits_type::eof();
        Data += traits_type::to_char_type(C);
        return C;
    }

private:
    size_t FLimit;
};

} // namespace zorp::test
