// zentaro-cli new FILE, dump [--all] FILE: the data file as it is stored.
#include "cli/CliCommand.h"
#include "cli/DataFileArgument.h"
#include "cli/Options.h"
#include "store/RateTable.h"
#include "store/Scan.h"

#include <cstdio>
#include <iostream>
#include <optional>

namespace zentaro::cli {
namespace {

std::string CellText(const TableData& data, std::optional<std::size_t> column, std::size_t row,
                     char separator)
{
    return column ? CellDisplayText(data.values[*column], row, separator) : std::string();
}

void DumpStored(const RateTable& table, std::ostream& out)
{
    const TableData& data = table.Data();
    const auto tgl = data.ColumnIndex("tgl");
    const auto cur = data.ColumnIndex("cur");
    const auto nilai = data.ColumnIndex("nilai");
    const char separator = table.DecimalSeparator();
    for (std::size_t row = 0; row < data.RowCount(); ++row) {
        char status[3];
        std::snprintf(status, sizeof status, "%02x", data.status[row]);
        out << status << '\t' << Escape(CellText(data, tgl, row, separator)) << '\t'
            << Escape(CellText(data, cur, row, separator)) << '\t'
            << Escape(CellText(data, nilai, row, separator)) << '\n';
    }
    for (const auto& entry : data.changeLog)
        out << "log\t" << entry.row << '\t' << entry.previous << '\t' << entry.kind << '\n';
}

void DumpVisible(RateTable& table, std::ostream& out)
{
    if (table.RecordCount() == 0)
        return;
    ScanRows(table, [&] {
        out << Escape(table.DBEdit1().Text()) << '\t' << Escape(table.DBEdit2().Text()) << '\t'
            << Escape(table.DBEdit3().Text()) << '\n';
    });
}

} // namespace

int RunNew(const Invocation& invocation)
{
    if (invocation.args.size() != 1)
        throw UsageError{"new takes one FILE"};
    RateTable table(invocation.decimalSeparator);
    table.SaveToFile(invocation.args[0]);
    return 0;
}

int RunDump(const Invocation& invocation)
{
    const Options args = TakeOptions(invocation.args, {}, {"--all"});
    const std::filesystem::path file = TakeDataFile(args.positional, 0, "dump takes at most one FILE").file;
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(file);
    if (args.Flag("--all"))
        DumpStored(table, std::cout);
    else
        DumpVisible(table, std::cout);
    return 0;
}

} // namespace zentaro::cli
