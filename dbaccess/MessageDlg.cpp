#include "dbaccess/MessageDlg.h"

#include <iostream>

#include "fib/CodePage1251.h"

namespace {

TMessageHandler& Handler() {
    static TMessageHandler handler;
    return handler;
}

}  // namespace

TMessageHandler SetMessageHandler(TMessageHandler handler) {
    TMessageHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    if (Handler()) return Handler()(TMessageRequest{text, type, buttons});
    std::cerr << Win1251ToUtf8(text) << std::endl;
    if (buttons & Buttons(mbCancel)) return mrCancel;
    if (buttons & Buttons(mbNo)) return mrNo;
    return mrOk;
}
