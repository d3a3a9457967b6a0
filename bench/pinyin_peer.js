// The readings one peer library gives each character of each stdin line, in pinyin_eval's format
// ("index:syllable" per Chinese character, index in code points). Run from a scratch folder where the
// peers were installed with npm (see pinyin_accuracy.sh); nothing of them enters the project.
//   node pinyin_peer.js pinyin-pro|pinyin|napi < lines.txt
const peerName = process.argv[2] || 'pinyin-pro';
const load = (name) => require(require.resolve(name, { paths: [process.cwd()] }));
// pinyin-pro writes the neutral tone as 0 (zi0), pinyin_compare.py reads it as 5.
const syllable = /^[a-zü]+[0-5]?$/;

// Each peer reads one run of Han characters and returns one syllable per character, or null.
function makePeer(name) {
    if (name === 'pinyin-pro') {
        const { pinyin } = load('pinyin-pro');
        return (run) => pinyin(run, { type: 'all', toneType: 'num' }).map((x) => x.pinyin);
    }
    if (name === 'pinyin') {  // hotoo's pinyin 4 with the segmenter built into Node
        const mod = load('pinyin');
        const pinyin = mod.default || mod.pinyin || mod;
        return (run) => pinyin(run, { style: pinyin.STYLE_TONE2, segment: 'Intl.Segmenter' })
            .map((x) => x[0]);
    }
    if (name === 'napi') {  // @napi-rs/pinyin: the Rust pinyin crate with jieba segmentation
        const { pinyin } = load('@napi-rs/pinyin');
        return (run) => pinyin(run, { style: 3, segment: true, segmenter: 'jieba' });
    }
    throw new Error(`unknown peer ${name}`);
}

const read = makePeer(peerName);
const lines = require('fs').readFileSync(0, 'utf8').split('\n');
if (lines.length && lines[lines.length - 1] === '') lines.pop();
const han = /\p{Script=Han}/u;
const out = [];
for (const line of lines) {
    const cps = Array.from(line);
    let s = '';
    for (let i = 0; i < cps.length;) {
        if (!han.test(cps[i])) { ++i; continue; }
        let j = i;
        while (j < cps.length && han.test(cps[j])) ++j;
        const syls = read(cps.slice(i, j).join(''));
        if (syls.length === j - i) {
            syls.forEach((x, k) => { if (x && syllable.test(x)) s += `${i + k}:${x} `; });
        }
        i = j;
    }
    out.push(s);
}
process.stdout.write(out.join('\n') + '\n');
