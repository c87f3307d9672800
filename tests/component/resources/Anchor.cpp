// A library that holds nothing but resources and this function.
extern "C" int zorp_test_resources_anchor() {
    return 42;
}
