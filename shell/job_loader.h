#pragma once

#include "job/job.h"
#include "link/port.h"
#include "ui/modal_runner.h"
#include "ui/prompts.h"

#include <QString>

class QWidget;

namespace vshell
{

// A job file into the printer as the operator loads it: every question before the first byte
// goes out, then the write, then the read back. Used by the File menu and by the batch windows,
// whose run the job is the base of.
class JobLoader
{
public:
    JobLoader(vlink::Port &port, vui::Prompts &prompts, vui::ModalRunner &modal, QWidget &parent)
        : port_(port), prompts_(prompts), modal_(modal), parent_(parent)
    {
    }

    // True once the printer holds the job, verified. Otherwise the operator has been told why
    // (a refused file, a No, a failure with what was written, or the differences found).
    // tellVerified false: a caller that reports success its own way gets no box for it.
    bool load(const QString &path, bool tellVerified = true);

    static inline const QString Verified = QStringLiteral("Job loaded and verified");

private:
    bool confirm(const QString &path, const vjob::Job &job);
    bool logosMayBeReplaced(const vjob::Job &job);
    bool verify(const vjob::Job &job, bool tellVerified);

    vlink::Port &port_;
    vui::Prompts &prompts_;
    vui::ModalRunner &modal_;
    QWidget &parent_;
};

} // namespace vshell
