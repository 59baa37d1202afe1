// File streams and byte buffers: BBFileStream over a C FILE, the framework's
// c_FileStream with WriteAll/WriteString, c_DataBuffer with the "utf8" and
// "ascii" encoders, and the stream errors thrown when a write makes no
// progress. Streams are shared by std::shared_ptr; errors are thrown by value
// and hold the failing stream.
#pragma once

#include <cstdio>
#include <memory>

#include "runtime/Object.h"
#include "runtime/RuntimeError.h"
#include "runtime/String.h"

class BBDataBuffer : public Object {
public:
    BBDataBuffer() = default;
    BBDataBuffer(const BBDataBuffer&) = delete;
    BBDataBuffer& operator=(const BBDataBuffer&) = delete;

    // Allocates length uninitialised bytes; false when the buffer already has
    // data or length is negative.
    bool Allocate(int length);
    int Length() const { return length_; }
    unsigned char* Data() { return data_.get(); }
    const unsigned char* Data() const { return data_.get(); }
    // Byte access; addresses outside the buffer read 0 and write nothing.
    int PeekByte(int address) const;
    void PokeByte(int address, int value);

private:
    std::unique_ptr<unsigned char[]> data_;
    int length_ = 0;
};

class c_DataBuffer : public BBDataBuffer {
public:
    c_DataBuffer() = default;
    // Raises "Allocate DataBuffer failed" when the bytes can't be allocated.
    explicit c_DataBuffer(int length);
    // Encodes text at data[address...], cut at the buffer's end, and returns
    // the number of bytes the whole text encodes to. "utf8" cuts code points
    // to 16 bits (1..3 bytes each); "ascii" keeps the low 8 bits. Any other
    // encoding raises "Invalid string encoding:" + encoding.
    int PutStringBytes(int address, const String& text, const String& encoding);
};

class BBStream : public Object {
public:
    virtual int Eof() = 0;
    virtual int Close() = 0;
    virtual int Length() = 0;
    virtual int Position() = 0;
    virtual int Seek(int offset) = 0;
    virtual int Read(BBDataBuffer& buffer, int offset, int count) = 0;
    virtual int Write(const BBDataBuffer& buffer, int offset, int count) = 0;
};

class BBFileStream : public BBStream {
public:
    BBFileStream() = default;
    BBFileStream(const BBFileStream&) = delete;
    BBFileStream& operator=(const BBFileStream&) = delete;
    ~BBFileStream() override;

    // mode "r", "w" or "u" (read/update, created when missing); false when
    // already open, the mode is unknown or the file can't be opened.
    bool Open(const String& path, const String& mode);
    // 1 at the end, 0 before it, -1 when closed.
    int Eof() override;
    // The result of fclose; 0 when already closed.
    int Close() override;
    int Length() override;
    int Position() override;
    int Seek(int offset) override;
    // Ranges reaching outside the buffer transfer nothing (0).
    int Read(BBDataBuffer& buffer, int offset, int count) override;
    int Write(const BBDataBuffer& buffer, int offset, int count) override;

private:
    enum class LastAccess { None, Read, Write };
    // C streams need a seek between reading and writing on an update stream.
    void SwitchAccess(LastAccess next);

    FILE* file_ = nullptr;
    int position_ = 0;
    int length_ = 0;
    LastAccess lastAccess_ = LastAccess::None;
};

class c_Stream : public Object, public std::enable_shared_from_this<c_Stream> {
public:
    virtual int Eof() = 0;
    virtual int Length() = 0;
    virtual int Position() = 0;
    virtual int Seek(int offset) = 0;
    virtual int Read(BBDataBuffer& buffer, int offset, int count) = 0;
    virtual int Write(const BBDataBuffer& buffer, int offset, int count) = 0;
    virtual int Close() = 0;

    // Writes every byte or throws c_StreamWriteError when a write makes no
    // progress.
    void WriteAll(const BBDataBuffer& buffer, int offset, int count);
    // Encodes the whole text ("utf8" or "ascii") and writes it with WriteAll.
    void WriteString(const String& text, const String& encoding);
};

class c_FileStream : public c_Stream {
public:
    // mode "r", "w", "u" or "a" (update, positioned at the end); none on any
    // failure.
    static std::shared_ptr<c_FileStream> Open(const String& path, const String& mode);

    int Eof() override { return stream_.Eof(); }
    int Length() override { return stream_.Length(); }
    int Position() override { return stream_.Position(); }
    int Seek(int offset) override { return stream_.Seek(offset); }
    int Read(BBDataBuffer& buffer, int offset, int count) override { return stream_.Read(buffer, offset, count); }
    int Write(const BBDataBuffer& buffer, int offset, int count) override {
        return stream_.Write(buffer, offset, count);
    }
    int Close() override { return stream_.Close(); }

private:
    BBFileStream stream_;
};

class c_StreamError : public ThrowableObject {
public:
    explicit c_StreamError(std::shared_ptr<c_Stream> stream) : stream_(std::move(stream)) {}
    // The stream that failed; empty when it wasn't held by a shared_ptr.
    const std::shared_ptr<c_Stream>& Stream() const { return stream_; }

private:
    std::shared_ptr<c_Stream> stream_;
};

class c_StreamWriteError : public c_StreamError {
public:
    using c_StreamError::c_StreamError;
};
