#pragma once
// Opens the log-transport file for an operation that was given no stream.
#include <fstream>
#include <iosfwd>
#include <memory>
#include <string>

#include "engine/Replicator.h"

// The stream an export writes to: the one passed in, or the file named by the
// replicator (created or replaced), which is closed when this object goes.
class TTransportOutput {
public:
    TTransportOutput(TReplicator& replicator, std::ostream* stream);
    std::ostream& Stream() { return *FStream; }
    // Flushes and closes a file this object opened; a failed flush is an error.
    void Finish();

private:
    std::unique_ptr<std::ofstream> FFile;
    std::ostream* FStream;
    std::string FName;
};

// The stream an import reads from: the one passed in, or the replicator's file.
class TTransportInput {
public:
    TTransportInput(TReplicator& replicator, std::istream* stream);
    std::istream& Stream() { return *FStream; }

private:
    std::unique_ptr<std::ifstream> FFile;
    std::istream* FStream;
};
