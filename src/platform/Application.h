#pragma once
// The application object: its hidden top-level window (the owner of the strip, carrying the taskbar
// style), the message loop, the process-wide locale separators and the error display.
#include "Handles.h"
#include "status/Format.h"

#include <windows.h>

namespace zelmo::win {

// What the application asks of its main window.
class IMainWindow {
public:
    virtual HWND Handle() const noexcept = 0;
    // The show sequence of the main window: its show handler, then ShowWindow(SW_SHOWNORMAL).
    virtual void Show() = 0;
    // A close request: runs the close query and, when it agrees, terminates the application.
    virtual void RequestClose() = 0;

protected:
    ~IMainWindow() = default;
};

class TApplication {
public:
    static constexpr wchar_t ClassName[] = L"TApplication";

    explicit TApplication(HINSTANCE instance);
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    HINSTANCE Instance() const noexcept { return instance_; }
    HWND Handle() const noexcept { return window_.get(); }

    void SetMainWindow(IMainWindow* main) noexcept { main_ = main; }
    // Runs the main window's show sequence, then dispatches messages until Terminate; returns the exit
    // code. The application window itself stays hidden throughout.
    int Run();
    void Terminate() noexcept { ::PostQuitMessage(0); }

    // The decimal, date and time separators, read at start-up and after regional-settings changes.
    const LocaleSeparators& Separators() const noexcept { return separators_; }
    int SeparatorReads() const noexcept { return separatorReads_; }

    // Shows the exception in flight (call inside a catch block), owned by the main window if any.
    void ShowException() noexcept;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    void ReadSeparators();
    void RegionalSettingsChanged();

    HINSTANCE instance_;
    UINT taskbarCreated_;
    LocaleSeparators separators_;
    int separatorReads_ = 0;
    IMainWindow* main_ = nullptr;
    UniqueWindow window_;
};

} // namespace zelmo::win
