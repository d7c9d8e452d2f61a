// Runs a fuzz target without the fuzzing engine: every file of the corpus
// folder given on the command line, then a bounded number of random
// mutations of them. Used where the engine is not built.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const QByteArray& input)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(input.constData()),
        static_cast<std::size_t>(input.size()));
}

QByteArray Mutate(QByteArray input, QRandomGenerator& random)
{
    const int edits = 1 + int(random.bounded(16));
    for (int i = 0; i < edits; ++i) {
        switch (random.bounded(4)) {
        case 0: // flip a byte
            if (!input.isEmpty())
                input[int(random.bounded(int(input.size())))] = char(random.bounded(256));
            break;
        case 1: // cut
            input.truncate(int(random.bounded(int(input.size()) + 1)));
            break;
        case 2: // grow with noise
            for (int n = int(random.bounded(300)); n > 0; --n)
                input.append(char(random.bounded(256)));
            break;
        default: // a run of one value (markers, counts)
            if (!input.isEmpty()) {
                const int at = int(random.bounded(int(input.size())));
                const char value = char(random.bounded(2) ? 0xAE : random.bounded(256));
                for (int n = at; n < input.size() && n < at + 40; ++n)
                    input[n] = value;
            }
            break;
        }
    }
    return input;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const int mutations = argc > 2 ? QByteArray(argv[2]).toInt() : 3000;
    QList<QByteArray> corpus;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            corpus.append(file.readAll());
    }
    if (corpus.isEmpty())
        corpus.append(QByteArray());
    for (const QByteArray& input : corpus)
        Run(input);
    QRandomGenerator random(20261207);
    for (int i = 0; i < mutations; ++i)
        Run(Mutate(corpus[int(random.bounded(int(corpus.size())))], random));
    std::printf("%d passed, 0 failed\n", int(corpus.size()) + mutations);
    return 0;
}
