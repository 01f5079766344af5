// zentaro-cli new FILE, dump [--all] FILE: the data file as it is stored.
#include "cli/CliCommand.h"
#include "store/NumberText.h"
#include "store/RateTable.h"

#include <cstdio>
#include <iostream>
#include <optional>

namespace zentaro::cli {
namespace {

int RunNew(const Invocation& invocation)
{
    if (invocation.args.size() != 1)
        throw UsageError{"new takes one FILE"};
    RateTable table(invocation.decimalSeparator);
    table.SaveToFile(invocation.args[0]);
    return 0;
}

std::optional<std::size_t> FindColumn(const TableData& data, std::string_view name)
{
    for (std::size_t i = 0; i < data.columns.size(); ++i)
        if (data.columns[i].name == name)
            return i;
    return std::nullopt;
}

std::string CellText(const TableData& data, std::optional<std::size_t> column, std::size_t row,
                     char separator)
{
    if (!column)
        return {};
    const auto& values = data.values[*column];
    if (values.Flags(row) != 0)
        return {};
    if (values.Kind() == ColumnKind::Text)
        return std::string(values.Text(row));
    return GeneralNumberText(values.Float(row), separator);
}

void DumpStored(const RateTable& table, std::ostream& out)
{
    const TableData& data = table.Data();
    const auto tgl = FindColumn(data, "tgl");
    const auto cur = FindColumn(data, "cur");
    const auto nilai = FindColumn(data, "nilai");
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
    table.First();
    for (;;) {
        out << Escape(table.DBEdit1().Text()) << '\t' << Escape(table.DBEdit2().Text()) << '\t'
            << Escape(table.DBEdit3().Text()) << '\n';
        if (table.AtLastRow())
            break;
        table.Next();
    }
}

int RunDump(const Invocation& invocation)
{
    bool all = false;
    std::optional<std::string> file;
    for (const auto& arg : invocation.args) {
        if (arg == "--all")
            all = true;
        else if (!file)
            file = arg;
        else
            throw UsageError{"dump takes one FILE"};
    }
    if (!file)
        throw UsageError{"dump takes one FILE"};
    RateTable table(invocation.decimalSeparator);
    table.LoadFromFile(*file);
    if (all)
        DumpStored(table, std::cout);
    else
        DumpVisible(table, std::cout);
    return 0;
}

const bool registered = RegisterCommand({"new", "new FILE", RunNew}) &&
                        RegisterCommand({"dump", "dump [--all] FILE", RunDump});

} // namespace
} // namespace zentaro::cli
