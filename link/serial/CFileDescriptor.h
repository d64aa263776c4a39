#pragma once

// Owns one POSIX descriptor and closes it when it goes out of scope.
class CFileDescriptor {
public:
    CFileDescriptor() = default;
    explicit CFileDescriptor(int fd) : descriptor(fd) {}
    ~CFileDescriptor();
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    CFileDescriptor(CFileDescriptor&& other) noexcept;
    CFileDescriptor& operator=(CFileDescriptor&& other) noexcept;

    int Get() const { return descriptor; }
    bool IsValid() const { return descriptor >= 0; }
    // Gives up ownership without closing.
    int Release();
    // Closes now; true when there was nothing to close or close succeeded.
    bool Reset(int fd = -1);

private:
    int descriptor = -1;
};
