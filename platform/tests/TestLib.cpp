// A small shared library for the dynamic-library tests.
extern "C" int QvTestAdd(int a, int b) {
    return a + b;
}
extern "C" const char* QvTestName() {
    return "platform test library";
}
