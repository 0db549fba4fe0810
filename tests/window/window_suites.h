#pragma once

// Each suite runs its Qt Test object and returns its failure count.
namespace pictarium::test {
int runDisplayGeometryTests(int argc, char** argv);
int runPointerFileTests(int argc, char** argv);
int runBoxesTests(int argc, char** argv);
int runStartUpTests(int argc, char** argv);
int runRecordCommandTests(int argc, char** argv);
int runImportTests(int argc, char** argv);
}  // namespace pictarium::test
