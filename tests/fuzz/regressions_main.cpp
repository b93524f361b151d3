// Runs the fuzz target without libFuzzer over every seed and every input that
// once broke it, in the folders given. The name printed last says which input.

#include <QDir>
#include <QFile>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char **argv)
{
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        // A wrong path must not pass as "nothing to check".
        const QDir dir(QString::fromLocal8Bit(argv[i]));
        if (!dir.exists())
            return 1;
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files, QDir::Name)) {
            std::fprintf(stderr, "%s\n", qPrintable(info.filePath()));
            QFile file(info.filePath());
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            const QByteArray bytes = file.readAll();
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.constData()), std::size_t(bytes.size()));
            ++inputs;
        }
    }
    std::printf("%d inputs checked, no invariant violated\n", inputs);
    return inputs == 0;
}
