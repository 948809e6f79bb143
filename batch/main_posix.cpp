// tarifmaster-batch: the batch mode without the window, a program of standard C++ alone.
#include "batch/batch.h"

int main(int argc, char **argv)
{
    return batch::runBatchProgram(argc, argv);
}
