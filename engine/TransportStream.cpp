#include "engine/TransportStream.h"

#include "fib/FIBError.h"

TTransportOutput::TTransportOutput(TReplicator& replicator, std::ostream* stream) : FStream(stream) {
    if (FStream) return;
    FName = replicator.TransportFileName();
    FFile = std::make_unique<std::ofstream>(FName, std::ios::binary | std::ios::trunc);
    if (!*FFile) throw EFIBError("Cannot create file \"" + FName + "\"");
    FStream = FFile.get();
}

void TTransportOutput::Finish() {
    FStream->flush();
    if (!*FStream) throw EFIBError("Write to the log-transport file failed (disk full?)");
    if (FFile) {
        FFile->close();
        if (!*FFile) throw EFIBError("Cannot close file \"" + FName + "\"");
    }
}

TTransportInput::TTransportInput(TReplicator& replicator, std::istream* stream) : FStream(stream) {
    if (FStream) return;
    const std::string name = replicator.TransportFileName();
    FFile = std::make_unique<std::ifstream>(name, std::ios::binary);
    if (!*FFile) throw EFIBError("Cannot open file \"" + name + "\"");
    FStream = FFile.get();
}
