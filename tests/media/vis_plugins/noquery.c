/* A test plug-in that is a library but exports no QueryModule. */
__attribute__((visibility("default"))) int SomethingElse(void) { return 7; }
