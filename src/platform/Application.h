#pragma once
// The application object: its hidden top-level window (the owner of the strip, carrying the taskbar
// style), the message loop, the process-wide locale separators and the error display.
#include "Window.h"
#include "status/Format.h"

#include <windows.h>

#include <functional>

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

class TApplication final : public TWindow<TApplication> {
public:
    static constexpr const wchar_t* ClassName = L"TApplication";
    static constexpr UINT ClassStyle = 0;
    // Where the separators come from: the user's locale, or a test's stand-in.
    using SeparatorSource = std::function<LocaleSeparators()>;

    explicit TApplication(HINSTANCE instance, SeparatorSource separators = {});
    ~TApplication() { Destroy(); }

    void SetMainWindow(IMainWindow* main) noexcept { main_ = main; }
    // Runs the main window's show sequence, then dispatches messages until Terminate; returns the exit
    // code. The application window itself stays hidden throughout.
    int Run();
    void Terminate() noexcept { ::PostQuitMessage(0); }

    // The decimal, date and time separators, read at start-up and after regional-settings changes.
    const LocaleSeparators& Separators() const noexcept { return separators_; }

    // Shows the exception in flight (call inside a catch block), owned by the main window if any.
    void ShowException() noexcept;
    HWND ErrorOwner() const noexcept;

    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    void RegionalSettingsChanged();

    UINT taskbarCreated_;
    SeparatorSource separatorSource_;
    LocaleSeparators separators_;
    IMainWindow* main_ = nullptr;
};

} // namespace zelmo::win
