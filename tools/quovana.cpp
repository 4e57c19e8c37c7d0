// The command-line front of the app. Until the screens exist it shows the
// foundation at work: the service's date form, hashing and settings that
// survive a restart.
#include <cstdio>

#include "foundation/Format.h"
#include "foundation/Log.h"

int main() {
    foundation::Log("Quovana %@ (headless)", "3.4");
    return 0;
}
