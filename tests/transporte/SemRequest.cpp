// A transport library that lacks the "Request" entry point.
extern "C" __attribute__((visibility("default"))) int GeraSHA256() { return 0; }
