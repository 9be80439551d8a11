#pragma once
// Owning handles: one move-only template with the invalid value and the close call as a policy.
#include <windows.h>

#include <utility>

namespace platform {

template <typename Traits> class UniqueHandleT {
public:
    using Type = typename Traits::Type;
    UniqueHandleT() noexcept = default;
    explicit UniqueHandleT(Type h) noexcept : m_h(h) {}
    ~UniqueHandleT() { reset(); }
    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& o) noexcept : m_h(o.release()) {}
    UniqueHandleT& operator=(UniqueHandleT&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    Type get() const noexcept { return m_h; }
    explicit operator bool() const noexcept { return m_h != Traits::Invalid(); }
    Type release() noexcept { return std::exchange(m_h, Traits::Invalid()); }
    void reset(Type h = Traits::Invalid()) noexcept {
        if (m_h != Traits::Invalid()) Traits::Close(m_h);
        m_h = h;
    }
    // For out-parameters: frees the current handle and hands out its slot.
    Type* put() noexcept {
        reset();
        return &m_h;
    }

private:
    Type m_h = Traits::Invalid();
};

namespace detail {
struct HandleTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
struct FileTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { CloseHandle(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { FindClose(h); }
};
struct HKeyTraits {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { RegCloseKey(h); }
};
struct HMenuTraits {
    using Type = HMENU;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyMenu(h); }
};
struct GdiTraits {
    using Type = HGDIOBJ;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DeleteObject(h); }
};
struct HIconTraits {
    using Type = HICON;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept { DestroyIcon(h); }
};
struct HImageListTraits {
    using Type = void*;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type h) noexcept;
};
} // namespace detail

using UniqueHandle = UniqueHandleT<detail::HandleTraits>;
using UniqueFile = UniqueHandleT<detail::FileTraits>;
using UniqueFindHandle = UniqueHandleT<detail::FindTraits>;
using UniqueHKey = UniqueHandleT<detail::HKeyTraits>;
using UniqueHMenu = UniqueHandleT<detail::HMenuTraits>;
using UniqueGdiObject = UniqueHandleT<detail::GdiTraits>;
using UniqueHIcon = UniqueHandleT<detail::HIconTraits>;

// A COM interface pointer that releases on destruction.
template <typename T> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr& o) noexcept : m_p(o.m_p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr& operator=(const ComPtr& o) noexcept {
        if (o.m_p) o.m_p->AddRef();
        reset();
        m_p = o.m_p;
        return *this;
    }
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) {
            reset();
            m_p = std::exchange(o.m_p, nullptr);
        }
        return *this;
    }
    T* get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    T** put() noexcept {
        reset();
        return &m_p;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (m_p) std::exchange(m_p, nullptr)->Release();
    }
    template <typename U> HRESULT as(ComPtr<U>& out) const noexcept {
        return m_p ? m_p->QueryInterface(__uuidof(U), out.putVoid()) : E_POINTER;
    }

private:
    T* m_p = nullptr;
};

// Runs a callable when the scope ends.
template <typename F> class ScopeExit {
public:
    explicit ScopeExit(F f) : m_f(std::move(f)) {}
    ~ScopeExit() {
        if (m_active) m_f();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    void dismiss() noexcept { m_active = false; }

private:
    F m_f;
    bool m_active = true;
};

// COM for the calling thread, apartment-threaded (the shell's link object and dialogs need it).
class ComInit {
public:
    ComInit() noexcept : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComInit() {
        if (SUCCEEDED(m_hr)) CoUninitialize();
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;

private:
    HRESULT m_hr;
};

} // namespace platform
