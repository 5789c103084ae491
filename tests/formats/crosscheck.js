// Checks the Kaitai Struct descriptions of the database files (docs/formats/*.ksy) against the
// editor's own loader: compiles every description to JavaScript, parses the four files of a
// data folder with them and compares counts and names with the loader's JSON export
// (`mixora-dat export`).
//
//   node crosscheck.js DAT_FOLDER EXPORT_JSON
//
// Exits with 0 when everything agrees, 1 on the first disagreement (naming the file, record and
// field) or when a file cannot be parsed, 2 on wrong use.
'use strict';

const fs = require('fs');
const path = require('path');

const formatsFolder = path.join(__dirname, '..', '..', 'docs', 'formats');

let yaml, compiler, KaitaiStream;
try {
    yaml = require('js-yaml');
    compiler = require('kaitai-struct-compiler');
    KaitaiStream = require('kaitai-struct/KaitaiStream');
} catch (error) {
    fail(`${error.message}\nRun "npm ci" in ${__dirname} ` +
         '(scripts/install-test-dependencies.sh does).');
}

// Characters of the bytes 0x80..0x9F in Windows-1252; the unassigned bytes stand for the C1
// control of the same value. The rest of the code page is Latin-1.
const windows1252HighControls = [
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
];

// Some Node.js versions decode "windows-1252" as Latin-1 (bytes 0x80..0x9F come out wrong), so
// the runtime's decoding of that code page goes through the table above.
const decodeOtherEncoding = KaitaiStream.bytesToStr;
KaitaiStream.bytesToStr = (bytes, encoding) => {
    if (String(encoding).toLowerCase() !== 'windows-1252')
        return decodeOtherEncoding(bytes, encoding);
    let text = '';
    for (const byte of bytes) {
        const high = byte >= 0x80 && byte < 0xa0;
        text += String.fromCharCode(high ? windows1252HighControls[byte - 0x80] : byte);
    }
    return text;
};

// The editor puts a recipe's lines into priority order when it reads them, with this exchange
// sort (which also decides the order of lines of equal priority).
function loadedLineOrder(lines) {
    const slots = lines.slice();
    for (let i = 0; i < slots.length; ++i)
        for (let j = i; j < slots.length; ++j)
            if (slots[i].priority > slots[j].priority)
                [slots[i], slots[j]] = [slots[j], slots[i]];
    return slots;
}

// Each database file: its description, its count and records in the parsed file, its array in
// the export, and the fields to compare, as [field, parsed value, exported value].
const databases = [
    {
        file: 'Glasses.Dat', ksy: 'glasses.ksy',
        count: 'numGlasses', records: 'glasses', exported: 'glasses',
        *fields(glass, exported) {
            yield ['name', glass.name, exported.name];
        },
    },
    {
        file: 'Ingredients.Dat', ksy: 'ingredients.ksy',
        count: 'numIngredients', records: 'ingredients', exported: 'ingredients',
        *fields(ingredient, exported) {
            yield ['name', ingredient.name, exported.name];
            yield ['parent', ingredient.parent, exported.parent];
        },
    },
    {
        file: 'Recipes.Dat', ksy: 'recipes.ksy',
        count: 'numRecipes', records: 'recipes', exported: 'recipes',
        *fields(recipe, exported) {
            yield ['name', recipe.name, exported.name];
            yield ['glass', recipe.glass, exported.glass];
            const lines = loadedLineOrder(recipe.lines);
            const exportedLines = exported.lines || [];
            yield ['number of lines', lines.length, exportedLines.length];
            for (let i = 0; i < lines.length; ++i)
                yield [`lines[${i}].ingredient`, lines[i].ingredient, exportedLines[i].ingredient];
        },
    },
    {
        file: 'Help.Dat', ksy: 'help.ksy',
        count: 'numTopics', records: 'topics', exported: 'helpTopics',
        *fields(topic, exported) {
            yield ['name', topic.name, exported.name];
        },
    },
];

function fail(message) {
    console.error(`FAILED: ${message}`);
    process.exit(1);
}

// The editor removes leading and trailing spaces (and only spaces) from the name fields.
function trimSpaces(value) {
    return typeof value === 'string' ? value.replace(/^ +| +$/g, '') : value;
}

// Compiles every description in docs/formats; returns the parser classes by description file.
async function compileDescriptions() {
    const parsers = {};
    const descriptions = fs.readdirSync(formatsFolder).filter((name) => name.endsWith('.ksy'));
    for (const ksy of descriptions.sort()) {
        let sources;
        try {
            const description = yaml.load(fs.readFileSync(path.join(formatsFolder, ksy), 'utf8'));
            sources = await compiler.compile('javascript', description, null, false);
        } catch (error) {
            fail(`${ksy} does not compile: ${error.message || error}`);
        }
        for (const [name, source] of Object.entries(sources)) {
            const exports = {};
            new Function('exports', 'require', source)(exports, require);
            parsers[ksy] = exports[path.basename(name, '.js')];
        }
    }
    return parsers;
}

// Parses one file and compares it with its array in the export; returns the parsed records.
function checkDatabase(database, Parser, datFolder, exportedDatabase) {
    const where = database.file;
    if (!Parser)
        fail(`${database.ksy} is missing from ${formatsFolder}`);
    let parsed;
    try {
        const bytes = fs.readFileSync(path.join(datFolder, database.file));
        parsed = new Parser(new KaitaiStream(bytes));
    } catch (error) {
        fail(`${where}: cannot be parsed with ${database.ksy}: ${error.message || error}`);
    }
    // An empty file holds neither a count nor records.
    const count = parsed[database.count] || 0;
    const records = parsed[database.records] || [];
    const exported = exportedDatabase[database.exported];
    if (!Array.isArray(exported))
        fail(`the export has no array "${database.exported}"`);
    if (count !== exported.length)
        fail(`${where}: the file's count is ${count}, the loader read ${exported.length} records`);
    records.forEach((record, index) => {
        for (const [field, inFile, fromLoader] of database.fields(record, exported[index])) {
            if (trimSpaces(inFile) !== trimSpaces(fromLoader))
                fail(`${where}, record ${index + 1} ("${trimSpaces(record.name)}"), ${field}: ` +
                     `${JSON.stringify(trimSpaces(inFile))} in the file, ` +
                     `${JSON.stringify(trimSpaces(fromLoader))} from the loader`);
        }
    });
    return records;
}

async function main() {
    if (process.argv.length !== 4) {
        console.error('usage: node crosscheck.js DAT_FOLDER EXPORT_JSON');
        process.exit(2);
    }
    const [datFolder, exportPath] = process.argv.slice(2);
    let exportedDatabase;
    try {
        exportedDatabase = JSON.parse(fs.readFileSync(exportPath, 'utf8'));
    } catch (error) {
        fail(`cannot read the export ${exportPath}: ${error.message}`);
    }
    const parsers = await compileDescriptions();
    console.log(`Compiled with kaitai-struct-compiler ${compiler.version}: ` +
                Object.keys(parsers).join(', '));
    for (const database of databases) {
        const Parser = parsers[database.ksy];
        const records = checkDatabase(database, Parser, datFolder, exportedDatabase);
        const lines = records.reduce((sum, record) => sum + (record.lines || []).length, 0);
        const withLines = lines > 0 ? ` with ${lines} lines` : '';
        const plural = records.length === 1 ? '' : 's';
        console.log(`${database.file}: ${records.length} record${plural}${withLines} agree ` +
                    'with the loader');
    }
    console.log('The format descriptions agree with the loader.');
}

main().catch((error) => fail(error.stack || error));
