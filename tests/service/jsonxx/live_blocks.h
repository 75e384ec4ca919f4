#pragma once
// Count of heap blocks allocated with operator new and not yet deleted, kept
// by replacing the global operators in live_blocks.cpp.
long LiveBlocks();
