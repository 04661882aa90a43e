// Throughput and resident memory of downloading a 1 GiB installer over HTTPS on
// 127.0.0.1: the transfer, its SHA-256 and the temporary file, then the move to the
// target. The server runs in the same process and thread, as in the tests, so its
// encryption is part of the time.
//
// Target: resident memory grows by no more than 64 MiB, whatever the size; the
// throughput is recorded (bytes_per_second), on a 2-core machine. The file lies in the
// temporary folder (TMPDIR, else /tmp).

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include <filesystem>

#include "../tests/update/LoopbackHttpsServer.h"
#include "../tests/update/ResidentMemory.h"
#include "platform/Shell.h"
#include "update/InstallerDownload.h"

namespace {

using tavlix::InstallerDownload;
using tavlix::testing::LoopbackHttpsServer;

constexpr qint64 kSize = qint64(1) << 30;
// sha256sum of 1 GiB of zero bytes, what the server sends.
constexpr const char* kZerosSha256 = "49bc20df15e412a64472421e13fe86ff1c5165e18b2afccf160d4dc19fe68a14";

class NoShell : public tavlix::Shell {
public:
    bool Open(const std::string&) override { return false; }
};

void BM_Download1GiB(benchmark::State& state)
{
    LoopbackHttpsServer server;
    QString error;
    if (!server.Start(error)) {
        state.SkipWithError(qPrintable(error));
        return;
    }
    server.SetAnswer("/big.deb", LoopbackHttpsServer::Answer::ZeroBytes(kSize));
    NoShell shell;
    QTemporaryDir folder;
    const std::filesystem::path target = std::filesystem::path(folder.path().toStdString()) / "big.deb";
    for (auto _ : state) {
        InstallerDownload download(server.TrustingConfiguration(), shell, tavlix::TransferLimits::kStallTimeout);
        QEventLoop loop;
        auto result = InstallerDownload::Result::Canceled;
        QObject::connect(&download, &InstallerDownload::finished, [&](InstallerDownload::Result finished) {
            result = finished;
            loop.quit();
        });
        tavlix::testing::RestartPeakMemory();
        const long before = tavlix::testing::PeakMemoryKiB();
        download.Start({QUrl(server.Url(QStringLiteral("/big.deb"))), target, ".deb", kZerosSha256, false});
        loop.exec();
        state.counters["rss_growth_MiB"] = double(tavlix::testing::PeakMemoryKiB() - before) / 1024;
        if (result != InstallerDownload::Result::Complete)
            state.SkipWithError("the download did not complete");
        std::filesystem::remove(target);
    }
    state.SetBytesProcessed(state.iterations() * kSize);
}
BENCHMARK(BM_Download1GiB)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
