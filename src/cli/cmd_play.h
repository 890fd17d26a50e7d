#pragma once

namespace zev {

class CliCommandTable;

// play: a scripted test run, printing its transcript.
void RegisterPlayCommand(CliCommandTable& table);

} // namespace zev
