#include "fib/FIBStatus.h"

#include "fib/FIBError.h"

std::string StatusMessage(const ISC_STATUS* status) {
    std::string message;
    char buffer[1024];
    const ISC_STATUS* p = status;
    while (fb_interpret(buffer, sizeof buffer, &p) > 0) {
        if (!message.empty()) message += '\n';
        message += buffer;
    }
    return message;
}

void CheckStatus(const ISC_STATUS* status) {
    if (status[0] == 1 && status[1] != 0) {
        throw EFIBInterBaseError(static_cast<int>(isc_sqlcode(status)), status[1],
                                 StatusMessage(status));
    }
}
