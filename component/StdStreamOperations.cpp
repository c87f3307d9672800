// TZorp's Compress and Expand on standard streams, through the adapters of
// framework/base/StdStreams.h.
#include "component/FileBuffer.h"
#include "component/Zorp.h"

#include "framework/base/BufferedStream.h"
#include "framework/base/StdStreams.h"
#include "framework/base/TemporaryFile.h"

#include <istream>
#include <ostream>

namespace zorp {

namespace {

// The bytes of a standard stream from where it stands to its end, as a
// stream that can seek and tell its size: the standard stream itself when
// its buffer seeks, otherwise a copy of them, read to the end, in an unnamed
// temporary file.
class TSeekableSource {
public:
    explicit TSeekableSource(std::istream& Source) : FDirect(Source) {
        if (FDirect.Seekable())
            return;
        FSpool = fw::UnnamedTemporaryFile("the source stream");
        fw::CopyToEnd(*FSpool, FDirect);
        FSpool->SetPosition(0);
        FBuffered = std::make_unique<fw::TBufferedStream>(*FSpool, FileBufferSize);
    }

    fw::TStream& Stream() { return FBuffered ? static_cast<fw::TStream&>(*FBuffered) : FDirect; }

private:
    fw::TStdInputStream FDirect;
    std::unique_ptr<fw::TFileStream> FSpool;
    std::unique_ptr<fw::TBufferedStream> FBuffered;
};

void Flush(std::ostream& Dest) {
    if (Dest.rdbuf()->pubsync() != 0)
        throw fw::EWriteError("Stream write error");
}

} // namespace

void TZorp::Compress(std::ostream& Dest, std::istream& Source, TZorpMethod Method) {
    TSeekableSource source(Source);
    fw::TStdOutputStream dest(Dest);
    if (dest.Seekable()) {
        Compress(dest, source.Stream(), Method);
    } else {
        // The header in front is patched at the end: the output is made
        // whole first, then passed on.
        const std::unique_ptr<fw::TFileStream> spool =
            fw::UnnamedTemporaryFile("the compressed output");
        WriteThroughBuffer(*spool,
                           [&](fw::TStream& out) { Compress(out, source.Stream(), Method); });
        spool->SetPosition(0);
        fw::CopyToEnd(dest, *spool);
    }
    Flush(Dest);
}

void TZorp::Expand(std::ostream& Dest, std::istream& Source) {
    TSeekableSource source(Source);
    fw::TStdOutputStream dest(Dest);
    Expand(dest, source.Stream());
    Flush(Dest);
}

} // namespace zorp
