// The cells that every back end blits for the board, a tetrad and the preview, and the lines
// logged when one fails.
#include <string>
#include <utility>
#include <vector>

#include "core/display/play_cells.h"
#include "core/game/board.h"
#include "core/log/debug_log.h"
#include "test_support.h"

namespace {

using Cells = std::vector<std::pair<int32_t, int32_t>>;
using LogLines = std::vector<std::string>;

// Blits into `cells` and fails from call `failAt` on (counted from 1) with `failure`.
struct CellRecorder {
    Cells cells;
    int failAt;
    ResultCode failure;

    ResultCode operator()(int32_t column, int32_t row)
    {
        cells.emplace_back(column, row);
        return static_cast<int>(cells.size()) >= failAt ? failure : ResultOk;
    }
};

}  // namespace

using PlayCells = TempDirTest;

// Off the board, a tetrad's cells above row 0 or past a wall are left out without a line; the
// preview places every cell around its centre.
TEST_F(PlayCells, WalksGiveTheCellsInOrderAndStopAtTheFirstFailure)
{
    const Tetrad tetrad = {9, 0, {{0, 1}, {0, 0}, {1, 0}, {-1, 0}}, 2};
    const struct {
        const char* what;
        bool preview;
        int failAt;
        ResultCode failure;
        Cells cells;
        LogLines log;
    } cases[] = {
        {"board", false, 9, ResultFail, {{9, 0}, {8, 0}}, {}},
        {"preview", true, 9, ResultFail, {{2, 1}, {2, 2}, {3, 2}, {1, 2}}, {}},
        {"lost", true, 2, ResultSurfaceLost, {{2, 1}, {2, 2}}, {"Surface Lost while drawing current Tetrad"}},
        {"refused", false, 1, ResultFail, {{9, 0}}, {"Unknown Error Drawing Current Tetrad"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ClearDebugLog();
        CellRecorder recorder{{}, c.failAt, c.failure};
        auto blit = [&recorder](int32_t column, int32_t row) { return recorder(column, row); };
        const bool drawn = c.preview ? WalkPreviewCells(tetrad, blit) : WalkTetradCells(tetrad, blit);
        EXPECT_EQ(recorder.cells, c.cells);
        EXPECT_EQ(ReadDebugLog(), c.log);
        EXPECT_EQ(drawn, c.log.empty());
    }
}

TEST_F(PlayCells, BoardCellsGoRowByRowFromTheTop)
{
    ClearBoard();
    BoardCell(9, 15) = 0;
    BoardCell(0, 15) = 6;
    BoardCell(4, 14) = 3;
    std::vector<int32_t> colours;
    CellRecorder recorder{{}, 3, ResultFail};
    WalkBoardCells([&](int32_t column, int32_t row, int32_t colour) {
        colours.push_back(colour);
        return recorder(column, row);
    });
    EXPECT_EQ(recorder.cells, (Cells{{4, 14}, {0, 15}, {9, 15}}));
    EXPECT_EQ(colours, (std::vector<int32_t>{3, 6, 0}));
    EXPECT_EQ(ReadDebugLog(), LogLines{"Error Blitting to Quadrone Board Surface"});
}
