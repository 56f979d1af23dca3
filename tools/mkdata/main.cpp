// dalvo-mkdata: placeholder until the data-folder builder lands.
#include <cstdio>
int main() { return 0; }
