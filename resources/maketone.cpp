// Build step: writes the built-in alarm tone that ships beside the executable.
#include "alarm/alarmtone.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    return alarmTone::writeTo(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
