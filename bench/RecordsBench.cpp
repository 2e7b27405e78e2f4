// The record file at the size a temple's register reaches after decades: reading 100,000
// records (about 10 MB) as the import window does at every showing, and appending one record
// to a 10 MB file as the append window's OK does.
#include "records/RecordFile.h"
#include "records/RecordFileIo.h"
#include "records/RecordLine.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <unistd.h>

namespace {

using namespace ulvan;

// One plausible record, numbered so that no two lines are equal.
std::u16string SampleLine(int n) {
    DeceasedRecord record;
    std::u16string number = u"第";
    for (const char digit : std::to_string(n))
        number.push_back(static_cast<char16_t>(digit));
    record.Kaimyo = u"釋浄心信士" + number;
    record.Yomi = u"しゃくじょうしんしんじ";
    record.Zokumyo = u"山田 太郎右衛門";
    record.KiNen = u"2019";
    record.KiNengo = u"令和";
    record.KiWanen = u" 1";
    record.KiGatsu = u"12";
    record.KiNichi = u"31";
    record.GyoNen = u"88";
    return WriteRecordLine(record);
}

// A code page 932 file of `count` records.
std::string SampleFile(int count) {
    std::string bytes;
    for (int n = 0; n < count; ++n) {
        bytes += EncodeRecordText(SampleLine(n), RecordEncoding::Cp932).Bytes;
        bytes += "\r\n";
    }
    return bytes;
}

bool Write(const QString& path, const std::string& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes.data(), static_cast<qint64>(bytes.size())) ==
               static_cast<qint64>(bytes.size());
}

void BM_ReadRecordFile100k(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.txt"));
    const std::string bytes = SampleFile(100000);
    if (!Write(path, bytes)) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    for (auto _ : state) {
        RecordFileLoad load = LoadRecordFile(path);
        benchmark::DoNotOptimize(load);
        if (load.Text.Lines.size() != 100000)
            state.SkipWithError("wrong line count");
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_ReadRecordFile100k)->Unit(benchmark::kMillisecond);

void BM_AppendRecordTo10MB(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("records.txt"));
    std::string bytes = SampleFile(100000);
    bytes.resize(10 * 1000 * 1000);
    bytes.back() = '\n';
    if (!Write(path, bytes)) {
        state.SkipWithError("cannot write the sample file");
        return;
    }
    const std::u16string line = SampleLine(100001);
    const QByteArray native = QFile::encodeName(path);
    const auto writeAnyway = [](RecordEncoding, const std::vector<char32_t>&) { return true; };
    for (auto _ : state) {
        const AppendResult result = AppendRecordLine(path, line, writeAnyway);
        state.PauseTiming();
        // Back to 10 MB, so that every round appends to the same file.
        const bool truncated =
            ::truncate(native.constData(), static_cast<off_t>(bytes.size())) == 0;
        state.ResumeTiming();
        if (result.Result != AppendResult::Status::Appended || !truncated) {
            state.SkipWithError("append failed");
            break;
        }
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_AppendRecordTo10MB)->Unit(benchmark::kMillisecond);

} // namespace
