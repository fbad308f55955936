// A library that exports one symbol beyond the public interface: the export check must
// reject it.
extern "C" __attribute__((visibility("default"))) int advicepath_stray_symbol() { return 1; }
