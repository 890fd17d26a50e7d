// The script engine against Lua 5.4 on the same five workloads, side by side in one run. Each
// pair prints the same checksum; both sides report only the time of the work itself (Lua measures
// with os.clock inside the interpreter, so process start-up is not counted).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "script/engine/engine.h"

namespace {

struct Workload {
    const char* name;
    const char* script; // prints the checksum
    const char* lua; // body of a function returning the checksum as text
};

const Workload kWorkloads[] = {
    { "fib27",
        "function Fib(n: Integer): Integer;\n"
        "begin\n  if n < 2 then Result := n else Result := Fib(n - 1) + Fib(n - 2);\nend;\n"
        "WriteLn(Fib(27));\n",
        "local function fib(n) if n < 2 then return n end return fib(n - 1) + fib(n - 2) end\n"
        "return tostring(fib(27))" },
    { "loop10M",
        "function Loop: Integer;\nvar i, s: Integer;\n"
        "begin\n  s := 0;\n  for i := 1 to 10000000 do\n    s := (s + i * 3) mod 1000003;\n  Result := s;\nend;\n"
        "WriteLn(Loop);\n",
        "local s = 0\nfor i = 1, 10000000 do s = (s + i * 3) % 1000003 end\nreturn tostring(s)" },
    { "string1MB",
        "function Build: String;\nvar i: Integer;\n"
        "begin\n  Result := '';\n  for i := 1 to 1048576 do\n    Result := Result + Chr(65 + i mod 26);\nend;\n"
        "var s := Build;\nWriteLn(Length(s), ' ', Ord(s[1000]), ' ', Ord(s[Length(s)]));\n",
        "local t = {}\nfor i = 1, 1048576 do t[#t + 1] = string.char(65 + i % 26) end\n"
        "local s = table.concat(t)\nreturn #s .. ' ' .. s:byte(1000) .. ' ' .. s:byte(#s)" },
    { "bubble3000",
        "function Sorted: Integer;\nvar a: array of Integer; i, j, t, x: Integer;\n"
        "begin\n  SetLength(a, 3000);\n  x := 42;\n"
        "  for i := 0 to 2999 do\n  begin\n    x := (x * 1103515245 + 12345) mod 2147483648;\n    a[i] := x mod "
        "100000;\n  end;\n"
        "  for i := 0 to 2998 do\n    for j := 0 to 2998 - i do\n      if a[j] > a[j + 1] then\n"
        "      begin\n        t := a[j];\n        a[j] := a[j + 1];\n        a[j + 1] := t;\n      end;\n"
        "  Result := a[0] + a[1500] * 7 + a[2999] * 13;\nend;\nWriteLn(Sorted);\n",
        "local a = {}\nlocal x = 42\n"
        "for i = 1, 3000 do x = (x * 1103515245 + 12345) % 2147483648; a[i] = x % 100000 end\n"
        "for i = 1, 2999 do for j = 1, 3000 - i do if a[j] > a[j + 1] then a[j], a[j + 1] = a[j + 1], a[j] end end "
        "end\n"
        "return tostring(a[1] + a[1501] * 7 + a[3000] * 13)" },
    { "calls200k",
        "function Combine(a, b, c: String): Integer;\nbegin\n  Result := Length(a) + Length(b) * 2 + Length(c) * "
        "3;\nend;\n"
        "function Calls: Integer;\nvar i: Integer; x, y, z: String;\n"
        "begin\n  x := 'alpha'; y := 'beta'; z := 'gamma';\n  Result := 0;\n"
        "  for i := 1 to 200000 do\n    Result := Result + Combine(x, y, z) + i mod 3;\nend;\nWriteLn(Calls);\n",
        "local function combine(a, b, c) return #a + #b * 2 + #c * 3 end\n"
        "local x, y, z = 'alpha', 'beta', 'gamma'\nlocal r = 0\n"
        "for i = 1, 200000 do r = r + combine(x, y, z) + i % 3 end\nreturn tostring(r)" },
};

// The checksum each side printed for a workload, so the pairs can be compared in the report.
std::string g_checksums[2][std::size(kWorkloads)];

void BM_Script(benchmark::State& state, size_t w)
{
    zev::script::Engine engine;
    auto program = engine.Compile(kWorkloads[w].script);
    if (!program->Compiled()) {
        state.SkipWithError(program->MessageTexts().front().c_str());
        return;
    }
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        engine.Run(*program);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    std::string out = program->Output();
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    g_checksums[0][w] = out;
    state.SetLabel("checksum " + out);
}

// Runs the Lua body a number of times in one process; prints "seconds checksum" per run.
void BM_Lua(benchmark::State& state, size_t w)
{
    std::string path = "/tmp/zev_bench_" + std::string(kWorkloads[w].name) + ".lua";
    {
        std::ofstream f(path);
        f << "local function work()\n"
          << kWorkloads[w].lua << "\nend\n"
          << "local n = tonumber(arg[1])\nfor k = 1, n do\n  local t0 = os.clock()\n  local c = work()\n"
          << "  io.write(string.format('%.9f %s\\n', os.clock() - t0, c))\nend\n";
    }
    for (auto _ : state) {
        std::string cmd = "lua5.4 " + path + " 1 2>/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        if (!p) {
            state.SkipWithError("cannot start lua5.4");
            return;
        }
        char line[256] = {};
        bool got = std::fgets(line, sizeof line, p) != nullptr;
        int rc = pclose(p);
        double secs = 0;
        char sum[200] = {};
        if (!got || rc != 0 || std::sscanf(line, "%lf %199[^\n]", &secs, sum) < 2) {
            state.SkipWithError("lua5.4 is not installed or failed (apt-get install lua5.4)");
            return;
        }
        state.SetIterationTime(secs);
        g_checksums[1][w] = sum;
    }
    state.SetLabel("checksum " + g_checksums[1][w]);
}

// A generated script of 10,000 lines: declarations, routines, expressions and control flow.
std::string GeneratedScript(int lines)
{
    std::string s;
    int n = 0;
    for (int r = 0; n < lines; ++r) {
        s += "function F" + std::to_string(r) + "(a: Integer; const b: String): Integer;\n";
        s += "var i, t: Integer; u: String;\nbegin\n  t := a;\n  u := b + 'x';\n";
        s += "  for i := 1 to 10 do\n    if (t mod 3 = 0) and (Length(u) > i) then\n      t := t + i * 2\n"
             "    else\n      t := t - Ord(u[1]) div 2;\n";
        s += "  case t mod 4 of\n    0: u := UpperCase(u);\n    1, 2: u := Copy(u, 1, 3);\n  else\n    u := '';\n  "
             "end;\n";
        s += "  Result := t + Length(u);\nend;\n";
        s += "WriteLn(F" + std::to_string(r) + "(" + std::to_string(r) + ", 'abc'));\n";
        n += 19;
    }
    return s;
}

void BM_Compile10kLines(benchmark::State& state)
{
    std::string text = GeneratedScript(10000);
    zev::script::Engine engine;
    for (auto _ : state) {
        auto p = engine.Compile(text);
        if (!p->Compiled()) {
            state.SkipWithError(p->MessageTexts().front().c_str());
            return;
        }
        benchmark::DoNotOptimize(p);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

} // namespace

int main(int argc, char** argv)
{
    for (size_t w = 0; w < std::size(kWorkloads); ++w) {
        std::string name = kWorkloads[w].name;
        benchmark::RegisterBenchmark(("Script/" + name).c_str(), BM_Script, w)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark(("Lua/" + name).c_str(), BM_Lua, w)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    }
    benchmark::RegisterBenchmark("Compile10kLines", BM_Compile10kLines)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    int mismatches = 0;
    for (size_t w = 0; w < std::size(kWorkloads); ++w)
        if (!g_checksums[0][w].empty() && !g_checksums[1][w].empty() && g_checksums[0][w] != g_checksums[1][w]) {
            std::fprintf(stderr, "checksum mismatch in %s: %s vs %s\n", kWorkloads[w].name, g_checksums[0][w].c_str(),
                g_checksums[1][w].c_str());
            ++mismatches;
        }
    return mismatches ? 1 : 0;
}
