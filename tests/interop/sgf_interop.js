// Reads and writes SGF with @sabaki/sgf, an SGF library written elsewhere, so that
// korvana's files are checked against someone else's idea of the format.
//
//   node sgf_interop.js parse FILE...          one line per file: its move tree as JSON
//   node sgf_interop.js stringify TREES OUTDIR writes OUTDIR/<i>.sgf for each tree in TREES
//
// A move tree is the list of the root's children, each {"c": colour, "p": letters,
// "v": value from C or -20000, "k": children}.

'use strict'
const fs = require('fs')
const path = require('path')
const sgf = require('@sabaki/sgf')

function movesOf(node) {
  return node.children.map(child => {
    const colour = child.data.B ? 'B' : child.data.W ? 'W' : '?'
    const point = colour === '?' ? '' : child.data[colour][0]
    const value = child.data.C ? parseInt(child.data.C[0], 10) : -20000
    return {c: colour, p: point, v: Number.isNaN(value) ? 0 : value, k: movesOf(child)}
  })
}

function nodesOf(moves) {
  return moves.map(m => {
    const data = {[m.c]: [m.p]}
    if (m.v !== -20000) data.C = [String(m.v)]
    return {data, children: nodesOf(m.k)}
  })
}

const [command, ...args] = process.argv.slice(2)
if (command === 'parse') {
  for (const file of args) {
    const trees = sgf.parse(fs.readFileSync(file, 'latin1'))
    if (trees.length !== 1) throw new Error(`${file}: ${trees.length} game trees`)
    console.log(JSON.stringify(movesOf(trees[0])))
  }
} else if (command === 'stringify') {
  const [treesFile, outDir] = args
  JSON.parse(fs.readFileSync(treesFile, 'utf8')).forEach((moves, i) => {
    const root = {
      data: {
        GM: ['4'], FF: ['4'], SZ: ['15'], AP: ['Sabaki:0.52.2'], RU: ['Renju 1998'],
        PB: ['Alice'], PW: ['Bob'], DT: ['2024-05-01'], RE: ['B+R'], KM: ['0']
      },
      children: nodesOf(moves)
    }
    fs.writeFileSync(path.join(outDir, `${i}.sgf`), sgf.stringify([root]))
  })
} else {
  console.error('usage: node sgf_interop.js parse FILE... | stringify TREES OUTDIR')
  process.exit(2)
}
