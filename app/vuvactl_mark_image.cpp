#include "app/vuvactl_commands.h"
#include "graphics/model/mark_picture.h"
#include "link/mark_image.h"

#include <memory>

namespace vuvactl
{

namespace
{

Action markImage(const QStringList &args, QString &problem)
{
    problem = argCountProblem(args, 1);
    if (!problem.isEmpty())
        return {};
    const QString file = args[0];
    return [file](Context &ctx) {
        // The store is large; the stack of a command is not the place for it.
        const auto image = std::make_unique<vlink::MarkImage>();
        if (!vlink::MarkImageRead(ctx.port, *image))
            return failed(vlink::PrinterCommand::MarkImageRead);
        if (image->isClear()) {
            ctx.out << vlink::MarkClearText << '\n';
            return succeeded();
        }
        if (!vgfx::saveMarkPicture(vgfx::markPicture(*image), file))
            return failed(QStringLiteral("%1: cannot write the file").arg(file));
        ctx.out << image->rows << '*' << image->width << '\n';
        return succeeded();
    };
}

} // namespace

Commands markImageCommands()
{
    return {
        {"mark-image", "FILE.png",
         "reads the mark as dots and writes them, one pixel each (.bmp: 1 bit per pixel)",
         markImage},
    };
}

} // namespace vuvactl
