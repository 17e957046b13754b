#include "platform/ProfileFile.h"

namespace vorlu::platform {

ProfileWriteError::ProfileWriteError(const std::string& fileName)
    : std::runtime_error("Impossível gravar para " + fileName)
{
}

ProfileReadError::ProfileReadError(const std::string& fileName) : std::runtime_error("Impossível ler " + fileName)
{
}

} // namespace vorlu::platform
