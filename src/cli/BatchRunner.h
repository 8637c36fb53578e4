#pragma once

#include <QStringList>
#include <functional>

class PreviewComposer;

// Composes the pictures of a batch on worker threads, each worker with a composer of its own
// whose canvas memory serves all its pictures, and hands back each picture's outcome on the
// calling thread in the batch's order, as soon as it and all before it are done: what a picture
// has to say is told at its turn, whichever worker drew it.
class BatchRunner
{
public:
    struct Outcome
    {
        bool ok = false;
        QStringList messages; // for the error stream, in their order
    };
    // Composes picture `index` with the worker's composer; runs on a worker thread.
    using Work = std::function<bool(int index, PreviewComposer &composer, QStringList *messages)>;
    // Takes picture `index`'s outcome; runs on the calling thread, in index order.
    using Report = std::function<void(int index, const Outcome &outcome)>;

    // Runs count pictures on at most `workers` threads; returns how many failed.
    static int run(int count, int workers, const Work &work, const Report &report);
};
