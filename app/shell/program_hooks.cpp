#include "app/shell/program_hooks.h"

ProgramHooks& TheProgramHooks() {
    static ProgramHooks hooks;
    return hooks;
}
