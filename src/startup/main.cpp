// Vorlu Secretária: the secretary's module, where a receptionist registers patients.

#include "startup/Program.h"

int main(int, char** argv)
{
    return vorlu::startup::runProgram(argv[0]);
}
