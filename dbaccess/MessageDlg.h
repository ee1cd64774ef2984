#pragma once
// Message boxes of the data access layer. The layer only describes a box; whoever runs
// the program (the desktop program, a test) installs the handler that shows or answers it.
#include <functional>
#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = unsigned;  // a set of TMsgDlgBtn bits
constexpr TMsgDlgButtons Buttons(TMsgDlgBtn b) { return 1u << b; }
constexpr TMsgDlgButtons operator|(TMsgDlgBtn a, TMsgDlgBtn b) { return Buttons(a) | Buttons(b); }
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;

// Answers of a box: the button pressed.
enum TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrAll, mrNoToAll, mrYesToAll };

struct TMessageRequest {
    std::string Text;  // WIN1251
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};
using TMessageHandler = std::function<int(const TMessageRequest&)>;

// Installs the handler and returns the one it replaces. Without a handler a box is
// written to standard error and answered with Cancel (or No, or OK, whichever it offers first).
TMessageHandler SetMessageHandler(TMessageHandler handler);
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// Installs a handler for one scope.
class TScopedMessageHandler {
public:
    explicit TScopedMessageHandler(TMessageHandler handler) : FPrevious(SetMessageHandler(std::move(handler))) {}
    ~TScopedMessageHandler() { SetMessageHandler(std::move(FPrevious)); }
    TScopedMessageHandler(const TScopedMessageHandler&) = delete;
    TScopedMessageHandler& operator=(const TScopedMessageHandler&) = delete;

private:
    TMessageHandler FPrevious;
};
