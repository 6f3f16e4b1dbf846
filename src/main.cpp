#include "Quillpost/EntryBlock.hpp"

int main(int argc, char** argv) {
  return Quillpost::RunEntryBlock(argc, argv);
}
