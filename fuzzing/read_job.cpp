#include "fuzzing/targets.h"

#include "job/job_file.h"
#include "link/logo_record.h"

void readJobFile(const QByteArray &bytes)
{
    QString problem;
    const std::optional<vjob::Job> job = vjob::jobFromJson(bytes, problem);
    if (!job) {
        fuzzCheck(!problem.isEmpty(), "a refused job says why");
        return;
    }
    for (const vjob::JobCell &cell : job->cells)
        fuzzCheck(cell.text.size() <= vjob::TextMax, "a cell's text fits the editors");
    for (const vjob::JobLogo &logo : job->logos)
        fuzzCheck(vlink::FitsRecord(logo.buffer), "every logo fits a record");
    if (job->picture)
        fuzzCheck(job->picture->width <= vlink::MarkImage::Columns &&
                      job->picture->rows <= vlink::MarkImage::Bands,
                  "the picture fits the mark image");
    // What the station writes back it reads again, unchanged.
    const QByteArray saved = vjob::jobToJson(*job);
    const std::optional<vjob::Job> again = vjob::jobFromJson(saved, problem);
    fuzzCheck(again && vjob::jobToJson(*again) == saved, "a saved job reads back the same");
}
