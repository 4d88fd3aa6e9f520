#include "frontend/entry.h"

int main(int argc, char** argv) { return QETLib::QuorixMain(argc, argv); }
