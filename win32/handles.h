// Owners of what Windows hands out, each freeing its object once with the call that object needs: a
// GDI object (font, brush, bitmap, pen) with DeleteObject, a COM interface with Release, a cursor with
// DestroyCursor unless it is the system's shared one. Moved, never copied.
#pragma once

#include <utility>
#include <windows.h>

namespace win32 {

template<typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T object)
        : m_object(object)
    {
    }
    ~GdiObject()
    {
        reset();
    }
    GdiObject(GdiObject &&other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {
    }
    GdiObject &operator=(GdiObject &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.m_object, nullptr));
        return *this;
    }
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;

    T get() const
    {
        return m_object;
    }
    explicit operator bool() const
    {
        return m_object != nullptr;
    }
    // Frees what is held, and holds object from now on.
    void reset(T object = nullptr)
    {
        if (m_object && m_object != object)
            DeleteObject(m_object);
        m_object = object;
    }
    // Hands the object to a new owner, which frees it.
    T release()
    {
        return std::exchange(m_object, nullptr);
    }

private:
    T m_object = nullptr;
};

template<typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        reset();
    }
    ComPtr(ComPtr &&other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {
    }
    ComPtr &operator=(ComPtr &&other) noexcept
    {
        if (this != &other) {
            reset();
            m_object = std::exchange(other.m_object, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr &) = delete;
    ComPtr &operator=(const ComPtr &) = delete;

    // Where a call that makes an object puts it; what was held is released first.
    T **put()
    {
        reset();
        return &m_object;
    }
    void **putVoid()
    {
        return reinterpret_cast<void **>(put());
    }
    T *get() const
    {
        return m_object;
    }
    T *operator->() const
    {
        return m_object;
    }
    explicit operator bool() const
    {
        return m_object != nullptr;
    }
    void reset()
    {
        if (m_object)
            std::exchange(m_object, nullptr)->Release();
    }

private:
    T *m_object = nullptr;
};

// A cursor the program made, destroyed with it, or one of the system's shared cursors, which nobody
// may destroy.
class Cursor {
public:
    Cursor() = default;
    static Cursor made(HCURSOR cursor)
    {
        return Cursor(cursor, true);
    }
    static Cursor shared(HCURSOR cursor)
    {
        return Cursor(cursor, false);
    }
    ~Cursor()
    {
        if (m_owned && m_cursor)
            DestroyCursor(m_cursor);
    }
    Cursor(Cursor &&other) noexcept
        : m_cursor(std::exchange(other.m_cursor, nullptr))
        , m_owned(std::exchange(other.m_owned, false))
    {
    }
    Cursor &operator=(Cursor &&other) noexcept
    {
        if (this != &other) {
            Cursor old(std::move(*this));
            m_cursor = std::exchange(other.m_cursor, nullptr);
            m_owned = std::exchange(other.m_owned, false);
        }
        return *this;
    }
    Cursor(const Cursor &) = delete;
    Cursor &operator=(const Cursor &) = delete;

    HCURSOR get() const
    {
        return m_cursor;
    }
    bool owned() const
    {
        return m_owned;
    }

private:
    Cursor(HCURSOR cursor, bool owned)
        : m_cursor(cursor)
        , m_owned(owned)
    {
    }
    HCURSOR m_cursor = nullptr;
    bool m_owned = false;
};

// A kernel handle (a file, a thread, an event), closed once.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle)
        : m_handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle)
    {
    }
    ~KernelHandle()
    {
        if (m_handle)
            CloseHandle(m_handle);
    }
    KernelHandle(KernelHandle &&other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr))
    {
    }
    KernelHandle &operator=(KernelHandle &&other) noexcept
    {
        if (this != &other) {
            if (m_handle)
                CloseHandle(m_handle);
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    KernelHandle(const KernelHandle &) = delete;
    KernelHandle &operator=(const KernelHandle &) = delete;

    HANDLE get() const
    {
        return m_handle;
    }
    explicit operator bool() const
    {
        return m_handle != nullptr;
    }

private:
    HANDLE m_handle = nullptr;
};

} // namespace win32
