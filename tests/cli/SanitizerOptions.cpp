// QProcess starts the program with a vfork-like clone that shares this
// process's memory, so ThreadSanitizer marks the test process itself as a
// child of a multi-threaded fork and would refuse the next emulator thread.
// The clone only execs; nothing runs in it that could race.
extern "C" const char* __tsan_default_options() { return "die_after_fork=0"; }
