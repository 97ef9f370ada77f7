#pragma once
// Several files sent one after another to one printer, each as a job of its own: what
// automatic printing and the print page do with a batch.

#include "core/QueueState.h"
#include "core/WideString.h"

#include <functional>
#include <string>
#include <vector>

struct BatchOutcome {
    // One per file, in order: empty when the file was sent, otherwise why it was not.
    std::vector<WideString> errors;
    // The printer could not be had: the batch stopped there, and each file after it holds
    // the same text, untried.
    bool printerFailed = false;
    WideString printerError;
    PrinterWait wait = PrinterWait::None;  // the queue's state after the last job sent
    std::size_t Sent() const;
};

// Every file is tried, whatever became of the one before, unless the printer fails. The
// queue's state is read after the jobs only for a caller that shows it (readQueueState).
// starting, when set, is told each file's index before its job begins.
BatchOutcome PrintBatch(const std::vector<WideString>& files, const WideString& printerName,
                        bool readQueueState,
                        const std::function<void(std::size_t)>& starting = nullptr);

// For a batch not sent whole: how many files were sent, then each file not sent by its
// name with its reason, a line each. Empty when every file was sent.
WideString BatchFailureText(const std::vector<WideString>& files, const BatchOutcome& outcome);
