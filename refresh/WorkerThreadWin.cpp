#include "refresh/WorkerThread.h"

#include <windows.h>

#include <atomic>
#include <new>

struct WorkerThread::Signal {
    HANDLE changed = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);  // manual reset
    std::atomic<std::uint32_t> changes{0};

    ~Signal() {
        if (changed) ::CloseHandle(changed);
    }
    void Notify() {
        changes.fetch_add(1);
        if (changed) ::SetEvent(changed);
    }
};

namespace {

// What the new thread needs; it owns this and deletes it before it ends.
struct Launched {
    WorkerThread::Body body;
    void* context;
    std::shared_ptr<WorkerThread::Signal> signal;
    HMODULE module;
};

DWORD WINAPI ThreadStart(void* parameter) {
    Launched* launched = static_cast<Launched*>(parameter);
    HMODULE module = launched->module;
    DWORD code = launched->body(launched->context);
    launched->signal->Notify();
    delete launched;
    // Our code may be unmapped the moment this reference goes, so dropping
    // it and ending the thread must be one call that does not return here.
    ::FreeLibraryAndExitThread(module, code);
    return code;
}

// Takes a reference on the module that contains this code (the DLL, or the
// program when linked into one); none when it cannot.
HMODULE ReferenceOwnModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ThreadStart), &module);
    return module;
}

}  // namespace

WorkerThread::~WorkerThread() {
    // No wait here: after its body the thread touches nothing of ours but the
    // code its own module reference keeps loaded, and a wait could sit inside
    // DllMain when the library is unloaded.
    if (handle) ::CloseHandle(handle);
}

bool WorkerThread::Launch(Body body, void* context) {
    if (handle) {
        ::CloseHandle(handle);
        handle = nullptr;
    }
    std::shared_ptr<Signal> next;
    try {
        next = std::make_shared<Signal>();
    } catch (...) {
        return false;
    }
    HMODULE module = ReferenceOwnModule();
    if (!module) return false;
    Launched* launched = new (std::nothrow) Launched{body, context, next, module};
    if (!launched) {
        ::FreeLibrary(module);
        return false;
    }
    // The signal is in place before the thread can notify through it.
    signal = next;
    HANDLE created = ::CreateThread(nullptr, 0, ThreadStart, launched, 0, nullptr);
    if (!created) {
        delete launched;
        ::FreeLibrary(module);
        return false;
    }
    handle = created;
    return true;
}

void WorkerThread::Join() {
    if (handle) ::WaitForSingleObject(handle, INFINITE);
}

std::uint32_t WorkerThread::Changes() {
    if (!signal) return 0;
    // Reset before the token is read: a change after it sets the event again.
    if (signal->changed) ::ResetEvent(signal->changed);
    return signal->changes.load();
}

void WorkerThread::WaitForChange(std::uint32_t seen, std::uint32_t ms) {
    if (!signal || !signal->changed) {
        Sleep(ms);
        return;
    }
    if (signal->changes.load() == seen) ::WaitForSingleObject(signal->changed, ms);
}

void WorkerThread::Notify() {
    if (signal) signal->Notify();
}

void WorkerThread::Sleep(std::uint32_t ms) { ::Sleep(ms); }
