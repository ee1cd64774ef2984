#pragma once
// Turns a client-library status vector into an exception.
#include <ibase.h>

#include <string>

// Raises EFIBInterBaseError when the status vector holds an error (warnings are not errors).
void CheckStatus(const ISC_STATUS* status);
// The server's message text of a status vector, lines joined with "\n".
std::string StatusMessage(const ISC_STATUS* status);
