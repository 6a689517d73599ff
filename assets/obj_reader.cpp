// Placeholder until the OBJ reader lands: reads nothing.
#include "assets/obj_reader.h"

int readWholeFile(const char*, std::unique_ptr<char[]>&) { return 0; }
void parseObjText(const char*, int, ObjModel&) {}
void readObjFile(const char*, ObjModel&) {}
