// play_cells.cpp -- the play screen's failure lines, the same on every back end.
#include "core/display/play_cells.h"

#include "core/log/debug_log.h"

void LogBoardCellFailure()
{
    WriteDebugLog("Error Blitting to Quadrone Board Surface");
}

void LogTetradCellFailure(ResultCode result)
{
    WriteDebugLog(result == ResultSurfaceLost ? "Surface Lost while drawing current Tetrad"
                                              : "Unknown Error Drawing Current Tetrad");
}
