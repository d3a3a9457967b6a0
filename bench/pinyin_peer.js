// The readings pinyin-pro gives each character of each stdin line, in pinyin_eval's format.
// Run from a scratch folder where `npm install pinyin-pro` was done (see pinyin_accuracy.sh).
const { pinyin } = require(require.resolve("pinyin-pro", { paths: [process.cwd()] }));
const lines = require('fs').readFileSync(0, 'utf8').split('\n');
if (lines.length && lines[lines.length - 1] === '') lines.pop();
const out = [];
for (const line of lines) {
    const items = pinyin(line, { type: 'all', toneType: 'num' });
    let s = '';
    items.forEach((x, i) => {
        if (x.isZh && x.pinyin) s += `${i}:${x.pinyin} `;
    });
    out.push(s);
}
process.stdout.write(out.join('\n') + '\n');
